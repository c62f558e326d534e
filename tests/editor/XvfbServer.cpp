#include "XvfbServer.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
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
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1600x1200x24", "-nolisten", "tcp", "-noreset",
               static_cast<char*>(nullptr));
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

HostWindow::~HostWindow()
{
    if (display && window)
        XDestroyWindow(display, window);
    if (display)
        XCloseDisplay(display);
}

bool HostWindow::open(std::string& reason)
{
    if (!XvfbServer::shared().start(reason))
        return false;
    display = XOpenDisplay(nullptr);
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!display || !XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor))
    {
        reason = "no connection to the X server, or no XTest";
        return false;
    }
    XSetWindowAttributes attributes{};
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.override_redirect = True;
    window = XCreateWindow(display, DefaultRootWindow(display), kX, kY, kWidth, kHeight, 0, CopyFromParent, InputOutput,
                           CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
    XMapRaised(display, window);
    XSync(display, False);
    return true;
}

std::vector<Window> HostWindow::children() const
{
    Window root = 0, up = 0;
    Window* list = nullptr;
    unsigned int count = 0;
    XSync(display, False);
    XQueryTree(display, window, &root, &up, &list, &count);
    std::vector<Window> result(list, list + count);
    if (list)
        XFree(list);
    return result;
}

std::vector<uint32_t> HostWindow::pixels() const
{
    std::vector<uint32_t> pixels;
    XSync(display, False);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(static_cast<uint32_t>(XGetPixel(image, x, y) & 0xffffff));
    XDestroyImage(image);
    return pixels;
}

void HostWindow::resize(int newWidth, int newHeight)
{
    width = newWidth;
    height = newHeight;
    XResizeWindow(display, window, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XSync(display, False);
}

void HostWindow::move(int x, int y)
{
    XTestFakeMotionEvent(display, DefaultScreen(display), kX + x, kY + y, CurrentTime);
    XFlush(display);
}

void HostWindow::button(unsigned button, bool down)
{
    XTestFakeButtonEvent(display, button, down ? True : False, CurrentTime);
    XFlush(display);
}

void HostWindow::key(unsigned long keysym, bool down)
{
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), down ? True : False, CurrentTime);
    XFlush(display);
}

} // namespace EditorTest
