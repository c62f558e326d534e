#pragma once

// A private X server for one test process: Xvfb picks a free display number
// (-displayfd) and DISPLAY points at it until the server is stopped.

#include <string>

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

} // namespace EditorTest
