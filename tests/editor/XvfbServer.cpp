#include "XvfbServer.h"

#include <X11/Xlib.h>

#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace EditorTest {

XvfbServer::~XvfbServer()
{
    stop();
}

bool XvfbServer::start(std::string& reason)
{
    if (pid > 0)
        return true;
    int fds[2];
    if (pipe(fds) != 0)
    {
        reason = "no pipe";
        return false;
    }
    pid = fork();
    if (pid < 0)
    {
        reason = "no fork";
        return false;
    }
    if (pid == 0)
    {
        // The server goes with the test process, even when that crashes, and
        // keeps none of its output pipes open.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        close(fds[0]);
        const int devNull = open("/dev/null", O_WRONLY);
        if (devNull >= 0)
        {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
            close(devNull);
        }
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    // Xvfb writes its display number once it accepts connections.
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty())
    {
        stop();
        reason = "Xvfb is not installed or did not start";
        return false;
    }
    displayName = ":" + number;
    if (const char* old = std::getenv("DISPLAY"))
    {
        hadDisplay = true;
        previousDisplay = old;
    }
    setenv("DISPLAY", displayName.c_str(), 1);
    // Some server features come up just after the display number is written.
    for (int attempt = 0; attempt < 50; ++attempt)
    {
        if (Display* d = XOpenDisplay(displayName.c_str()))
        {
            XCloseDisplay(d);
            return true;
        }
        usleep(100000);
    }
    stop();
    reason = "Xvfb did not accept connections";
    return false;
}

void XvfbServer::stop()
{
    if (pid > 0)
    {
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        pid = -1;
    }
    if (!displayName.empty())
    {
        if (hadDisplay)
            setenv("DISPLAY", previousDisplay.c_str(), 1);
        else
            unsetenv("DISPLAY");
        displayName.clear();
    }
}

XvfbServer& XvfbServer::shared()
{
    static XvfbServer server;
    return server;
}

} // namespace EditorTest
