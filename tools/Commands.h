#pragma once

#include "tools/CommandLine.h"

#include <cstdio>
#include <string>

// The sub-commands; each returns the process exit code.
constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1; // files, the plug-in, the output could not be made
constexpr int kExitUsage = 2;   // the command line is wrong: syntax, names, values
constexpr int kExitInterrupted = 130;

// Says what went wrong on standard error; returns `code`.
inline int fail(int code, const std::string& message)
{
    std::fprintf(stderr, "kalvior: %s\n", message.c_str());
    return code;
}

int runInfo(const CommandLine& commandLine);
int runRender(const CommandLine& commandLine);
int runDemo(const CommandLine& commandLine);

// Set by SIGINT/SIGTERM; long loops stop and clean up when it is set.
bool interruptRequested();
void installInterruptHandler();
