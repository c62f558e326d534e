#include "tools/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

std::string directoryOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

ReplacingFile::~ReplacingFile()
{
    discard();
}

bool ReplacingFile::open(const std::string& target, std::string& error)
{
    discard();
    targetPath = target;
    const std::string pattern = directoryOf(target) + "/." + baseNameOf(target) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd = ::mkstemp(name.data());
    if (fd < 0)
    {
        error = "cannot create a file in '" + directoryOf(target) + "': " + std::strerror(errno);
        return false;
    }
    temporaryPath = name.data();
    // mkstemp makes the file private; give it the permissions a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    return true;
}

bool ReplacingFile::commit(std::string& error)
{
    if (fd < 0)
    {
        error = "no output file is open";
        return false;
    }
    // The data must be on disk before the rename makes it the only copy.
    if (::fsync(fd) != 0 || ::close(fd) != 0)
    {
        error = "finishing '" + targetPath + "' failed: " + std::strerror(errno);
        fd = -1;
        discard();
        return false;
    }
    fd = -1;
    if (::rename(temporaryPath.c_str(), targetPath.c_str()) != 0)
    {
        error = "cannot move the result into '" + targetPath + "': " + std::strerror(errno);
        discard();
        return false;
    }
    temporaryPath.clear();
    return true;
}

void ReplacingFile::discard()
{
    if (fd >= 0)
    {
        ::close(fd);
        fd = -1;
    }
    if (!temporaryPath.empty())
    {
        ::unlink(temporaryPath.c_str());
        temporaryPath.clear();
    }
}

bool checkOutputPath(const std::string& input, const std::string& output, bool force, std::string& error)
{
    if (output.empty())
    {
        error = "the output path is empty";
        return false;
    }
    struct stat directory
    {};
    const std::string directoryName = directoryOf(output);
    if (::stat(directoryName.c_str(), &directory) != 0 || !S_ISDIR(directory.st_mode))
    {
        error = "the output directory '" + directoryName + "' does not exist";
        return false;
    }
    struct stat existing
    {};
    if (::stat(output.c_str(), &existing) != 0)
        return true; // nothing there yet (a dangling link is replaced, its target untouched)
    if (S_ISDIR(existing.st_mode))
    {
        error = "the output '" + output + "' is a directory";
        return false;
    }
    struct stat source
    {};
    if (!input.empty() && ::stat(input.c_str(), &source) == 0 && source.st_dev == existing.st_dev &&
        source.st_ino == existing.st_ino)
    {
        error = "the output '" + output + "' is the input file; choose another output path";
        return false;
    }
    if (!force)
    {
        error = "the output '" + output + "' exists; add --force to replace it";
        return false;
    }
    return true;
}
