#pragma once

// A private X server for one test process: Xvfb picks a free display number
// (-displayfd) and DISPLAY points at it until the server is stopped.

#include <cstdint>
#include <string>
#include <vector>

// As Xlib declares them; Xlib itself stays out of headers, its macros clash with other libraries'.
typedef struct _XDisplay Display;
typedef unsigned long Window;

namespace EditorTest {

class XvfbServer
{
public:
    ~XvfbServer();

    // False with a reason when Xvfb is missing or does not come up.
    bool start(std::string& reason);
    void stop();
    const std::string& display() const { return displayName; }

    // The server shared by the tests of this process, started on first use.
    static XvfbServer& shared();

private:
    int pid = -1;
    std::string displayName;
    std::string previousDisplay;
    bool hadDisplay = false;
};

// The host's window the editor embeds into: a top-level window on the shared
// server, at a fixed place, with synthetic input through the XTest extension.
// The input calls only send; callers let the editor handle the events.
class HostWindow
{
public:
    static constexpr int kX = 40; // where the window sits on the screen
    static constexpr int kY = 30;
    static constexpr int kWidth = 375;
    static constexpr int kHeight = 495;

    ~HostWindow();
    // Starts the shared server if needed; false with a reason when there is none.
    bool open(std::string& reason);

    std::vector<Window> children() const;
    int childCount() const { return static_cast<int>(children().size()); }
    // The window's pixels as 0xRRGGBB, row by row.
    std::vector<uint32_t> pixels() const;
    // As a host does when its plug-in view asks for another size.
    void resize(int newWidth, int newHeight);

    void move(int x, int y); // window coordinates
    void button(unsigned button, bool down);
    void key(unsigned long keysym, bool down);

    Display* display = nullptr;
    Window window = 0;
    int width = kWidth;
    int height = kHeight;
};

} // namespace EditorTest
