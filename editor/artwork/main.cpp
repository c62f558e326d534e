// Draws the editor's bitmaps into the directory given as the only argument.

#include "Artwork.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    struct Picture
    {
        const char* file;
        bool (*draw)(const std::string&, int);
    };
    const Picture pictures[] = {
        {"skin.png", Artwork::drawSkin},         {"gain_knob.png", Artwork::drawGainKnob},
        {"pan_knob.png", Artwork::drawPanKnob},  {"button.png", Artwork::drawButton},
        {"aboutbox.png", Artwork::drawAboutBox}, {"FRAMEBACKGROUND.PNG", Artwork::drawFrameBackground},
    };
    for (const Picture& picture : pictures)
    {
        // Each at 1x as named, and at 2x with "_2x" before the extension.
        const std::string name = picture.file;
        const size_t dot = name.rfind('.');
        for (int scale : {1, 2})
        {
            const std::string path = dir + "/" + (scale == 1 ? name : name.substr(0, dot) + "_2x" + name.substr(dot));
            if (!picture.draw(path, scale))
            {
                std::fprintf(stderr, "could not write %s\n", path.c_str());
                return 1;
            }
        }
    }
    return 0;
}
