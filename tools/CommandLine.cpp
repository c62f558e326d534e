#include "tools/CommandLine.h"

#include "tools/NameMatch.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool parseInteger(const std::string& text, long minimum, long maximum, int& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || end != text.c_str() + text.size() || number < minimum || number > maximum)
        return false;
    value = static_cast<int>(number);
    return true;
}

// Walks the arguments, handing out "--name value" and "--name=value" alike.
class ArgumentCursor
{
public:
    explicit ArgumentCursor(const std::vector<std::string>& list) : arguments(list) {}

    bool done() const { return position >= arguments.size(); }
    const std::string& current() const { return arguments[position]; }
    void next() { ++position; }

    // For an option that takes a value: the value after '=' or the next argument.
    bool takeValue(const std::string& option, std::string& value, std::string& error)
    {
        const std::string& argument = arguments[position];
        const size_t equals = argument.find('=');
        if (equals != std::string::npos)
        {
            value = argument.substr(equals + 1);
            return true;
        }
        if (position + 1 >= arguments.size())
        {
            error = option + " needs a value";
            return false;
        }
        value = arguments[++position];
        return true;
    }

private:
    const std::vector<std::string>& arguments;
    size_t position = 0;
};

std::string optionName(const std::string& argument)
{
    return argument.substr(0, argument.find('='));
}

const std::vector<std::string> kRenderOptions = {"--program",       "--set",   "--automate", "--block",
                                                 "--precision",     "--scope", "--force",    "--mono-to-stereo",
                                                 "--sample-format", "--bundle"};
const std::vector<std::string> kDemoOptions = {"--force", "--block", "--precision", "--bundle"};
const std::vector<std::string> kCommands = {"render", "info", "demo", "help"};

std::string unknownOption(const std::string& name, const std::vector<std::string>& known)
{
    std::string message = "unknown option '" + name + "'";
    const std::string suggestion = NameMatch::nearest(name, known);
    if (!suggestion.empty())
        message += " (did you mean " + suggestion + "?)";
    return message;
}

bool parseBlockAndPrecision(ArgumentCursor& cursor, const std::string& name, int& blockSize, int& precision,
                            bool& handled, std::string& error)
{
    handled = true;
    std::string value;
    if (name == "--block")
    {
        if (!cursor.takeValue(name, value, error))
            return false;
        if (!parseInteger(value, 1, 65536, blockSize))
        {
            error = "--block wants a whole number of frames from 1 to 65536, not '" + value + "'";
            return false;
        }
        return true;
    }
    if (name == "--precision")
    {
        if (!cursor.takeValue(name, value, error))
            return false;
        if (value != "32" && value != "64")
        {
            error = "--precision wants 32 or 64, not '" + value + "'";
            return false;
        }
        precision = value == "32" ? 32 : 64;
        return true;
    }
    handled = false;
    return true;
}

bool parseRender(ArgumentCursor& cursor, CommandLine& result, std::string& error)
{
    RenderRequest& request = result.render;
    std::vector<std::string> positional;
    for (; !cursor.done(); cursor.next())
    {
        const std::string& argument = cursor.current();
        if (argument.size() < 2 || argument.compare(0, 2, "--") != 0 || argument == "--")
        {
            positional.push_back(argument);
            continue;
        }
        const std::string name = optionName(argument);
        std::string value;
        bool handled = false;
        if (!parseBlockAndPrecision(cursor, name, request.blockSize, request.precision, handled, error))
            return false;
        if (handled)
            continue;
        if (name == "--force")
            request.force = true;
        else if (name == "--mono-to-stereo")
            request.monoToStereo = true;
        else if (name == "--program" || name == "--scope" || name == "--bundle")
        {
            if (!cursor.takeValue(name, value, error))
                return false;
            if (value.empty())
            {
                error = name + " needs a value";
                return false;
            }
            (name == "--program" ? request.program : name == "--scope" ? request.scopePicture : result.bundle) = value;
        }
        else if (name == "--set")
        {
            if (!cursor.takeValue(name, value, error))
                return false;
            ParameterSettingText setting;
            if (!parseSettingText(value, setting.parameter, setting.value, error))
                return false;
            request.settings.push_back(setting);
        }
        else if (name == "--automate")
        {
            if (!cursor.takeValue(name, value, error))
                return false;
            AutomationText automation;
            if (!parseAutomationText(value, automation, error))
                return false;
            request.automation.push_back(automation);
        }
        else if (name == "--sample-format")
        {
            if (!cursor.takeValue(name, value, error))
                return false;
            if (!parseSampleFormat(value, request.sampleFormat))
            {
                error = "--sample-format wants float, double, input, pcm16 or pcm24, not '" + value + "'";
                return false;
            }
        }
        else
        {
            error = unknownOption(name, kRenderOptions);
            return false;
        }
    }
    if (positional.size() != 2)
    {
        error = positional.size() < 2
                    ? "render needs an input and an output file"
                    : "render takes one input and one output file, not " + std::to_string(positional.size()) + " paths";
        return false;
    }
    request.input = positional[0];
    request.output = positional[1];
    return true;
}

bool parseDemo(ArgumentCursor& cursor, CommandLine& result, std::string& error)
{
    bool haveDirectory = false;
    for (; !cursor.done(); cursor.next())
    {
        const std::string& argument = cursor.current();
        if (argument.compare(0, 2, "--") != 0)
        {
            if (haveDirectory)
            {
                error = "demo takes one directory, not several";
                return false;
            }
            result.demo.directory = argument;
            haveDirectory = true;
            continue;
        }
        const std::string name = optionName(argument);
        bool handled = false;
        if (!parseBlockAndPrecision(cursor, name, result.demo.blockSize, result.demo.precision, handled, error))
            return false;
        if (handled)
            continue;
        std::string value;
        if (name == "--force")
            result.demo.force = true;
        else if (name == "--bundle")
        {
            if (!cursor.takeValue(name, result.bundle, error))
                return false;
        }
        else
        {
            error = unknownOption(name, kDemoOptions);
            return false;
        }
    }
    return true;
}

bool parseInfo(ArgumentCursor& cursor, CommandLine& result, std::string& error)
{
    for (; !cursor.done(); cursor.next())
    {
        const std::string name = optionName(cursor.current());
        if (name == "--bundle")
        {
            if (!cursor.takeValue(name, result.bundle, error))
                return false;
        }
        else
        {
            error = cursor.current().compare(0, 2, "--") == 0 ? unknownOption(name, {"--bundle"})
                                                              : "info takes no file names ('" + cursor.current() + "')";
            return false;
        }
    }
    return true;
}

} // namespace

bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& result, std::string& error)
{
    result = CommandLine();
    if (arguments.empty())
    {
        result.command = Command::Help;
        return true;
    }
    const std::string& command = arguments[0];
    std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    ArgumentCursor cursor(rest);
    if (command == "help" || command == "--help" || command == "-h")
    {
        result.command = Command::Help;
        return true;
    }
    if (command == "--version" || command == "version")
    {
        result.command = Command::Version;
        return true;
    }
    if (command == "render")
    {
        result.command = Command::Render;
        return parseRender(cursor, result, error);
    }
    if (command == "info")
    {
        result.command = Command::Info;
        return parseInfo(cursor, result, error);
    }
    if (command == "demo")
    {
        result.command = Command::Demo;
        return parseDemo(cursor, result, error);
    }
    error = "unknown command '" + command + "'";
    const std::string suggestion = NameMatch::nearest(command, kCommands);
    if (!suggestion.empty())
        error += " (did you mean " + suggestion + "?)";
    return false;
}

std::string usageText()
{
    return R"(Usage:
  kalvior render IN OUT [options]   process an audio file through Kalvior
  kalvior info [--bundle PATH]      list the parameters and factory programs
  kalvior demo [DIR] [options]      render a built-in test signal through every
                                    factory program (default DIR: kalvior-demo)
  kalvior --help | --version

Render options:
  --program NAME           start from a factory program, e.g. "Bass Squeeze"
  --set "TITLE=TEXT"       set a parameter by title or short title to a value
                           in its own display text, e.g. "HP Width=1.40",
                           "Crossover=LR-4", "Left Gain=-6"; norm(x) gives a
                           normalised value 0..1 instead (repeatable)
  --automate "TITLE=t0:v0,t1:v1,..."
                           sample-accurate automation: times in seconds, values
                           as for --set; linear between breakpoints, held before
                           the first and after the last; a repeated time makes
                           a step (repeatable, automatable parameters only)
  --block N                frames per process call (default 512)
  --precision 32|64        sample size handed to the plug-in (default 32)
  --scope PNG              also draw a vector-scope picture of the output from
                           the plug-in's own scope data (needs Scope on)
  --sample-format F        float (default for WAV/AIFF), double, input, pcm16,
                           pcm24 (FLAC defaults to the input's depth)
  --mono-to-stereo         accept a mono input by feeding it to both channels
  --force                  replace an existing output file

Common options:
  --bundle PATH            the Kalvior.vst3 bundle to load (default: the
                           installed one in ~/.vst3, /usr/local/lib/vst3 or
                           /usr/lib/vst3)

Output goes to a temporary file beside OUT, renamed into place when complete.
The output keeps the input's sample rate; its type follows OUT's extension
(.wav, .flac, .aiff).
)";
}
