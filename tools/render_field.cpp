// Renders a game screen as the game draws it, headless: a field from a fixed
// seed after a few shots, the score, the comment line and the crosshair; and
// writes it as a PNG to look at.
//
// usage: tz_render_field OUTPUT.png
#include "platform/testing/testing.h"
#include "tests/support/headlessgame.h"
#include "tests/support/pngimage.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace
{

// The game runs in a scratch folder of its own; the picture or the reason it
// was not taken comes back.
std::string RenderGameScreen(const std::string& output)
{
    GameFolder folder;
    HeadlessGame game;
    if (!ShowScene(game, Scene::Game))
        return "the game ended before it showed a game screen";
    const platform::PixelBuffer* picture = platform::testing::ShownPicture();
    if (picture == nullptr)
        return "the game showed no picture";
    return WritePng(output, ToRgbImage(*picture));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    const std::string output = std::filesystem::absolute(argv[1]).string();
    const std::string error = RenderGameScreen(output);
    if (!error.empty())
    {
        std::fprintf(stderr, "%s: %s\n", output.c_str(), error.c_str());
        return 1;
    }
    return 0;
}
