#pragma once

#include "tools/Automation.h"
#include "tools/WavIo.h"

#include <string>
#include <vector>

// What the user asked for on the command line; parsing checks the syntax
// only, names and values are checked against the plug-in later.

enum class Command
{
    Help,
    Version,
    Info,
    Render,
    Demo,
};

struct ParameterSettingText
{
    std::string parameter;
    std::string value;
};

struct RenderRequest
{
    std::string input;
    std::string output;
    std::string program;                        // empty: none
    std::vector<ParameterSettingText> settings; // --set, in order
    std::vector<AutomationText> automation;     // --automate
    int blockSize = 512;
    int precision = 32;       // 32 or 64 bit processing
    std::string scopePicture; // --scope PNG, empty: none
    bool force = false;
    bool monoToStereo = false;
    SampleFormat sampleFormat = SampleFormat::Automatic;
};

struct DemoRequest
{
    std::string directory = "kalvior-demo";
    bool force = false;
    int blockSize = 512;
    int precision = 32;
};

struct CommandLine
{
    Command command = Command::Help;
    std::string bundle; // --bundle, empty: the installed one
    RenderRequest render;
    DemoRequest demo;
};

// False with a message (and the usage hint) in `error` for bad syntax.
bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& result, std::string& error);

std::string usageText();
