// kalvior: runs the Kalvior plug-in over audio files from the command line,
// loading its VST 3 bundle as a DAW does.
#include "params/version.h"
#include "tools/Commands.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    std::vector<std::string> arguments(argv + 1, argv + argc);
    CommandLine commandLine;
    std::string error;
    if (!parseCommandLine(arguments, commandLine, error))
    {
        std::fprintf(stderr, "kalvior: %s\nTry 'kalvior --help'.\n", error.c_str());
        return kExitUsage;
    }
    switch (commandLine.command)
    {
    case Command::Help: std::printf("%s", usageText().c_str()); return kExitSuccess;
    case Command::Version: std::printf("kalvior %s\n", KalviorVersion::kVersion); return kExitSuccess;
    case Command::Info: return runInfo(commandLine);
    case Command::Render: return runRender(commandLine);
    case Command::Demo: return runDemo(commandLine);
    }
    return kExitUsage;
}
