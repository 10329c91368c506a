#pragma once
// A virtual game controller for the windowed tests, fed from a file the test writes to while
// the program runs (KALVENTO_TEST_PAD names it). One command a line, read as lines arrive:
//     press a        a button down for a few turns of the loop, then up (SDL's names: a, b,
//                    x, y, start, dpup, dpdown, dpleft, dpright, …)
//     hold a / release a
//     wait 30        turns of the loop before the next command
// Nothing else reads this file; without the variable there is no virtual controller.
#include <SDL.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

namespace kv {

class TSdlTestPad {
public:
    // The file named by KALVENTO_TEST_PAD, or nullptr when it is not set. Raises
    // std::runtime_error when the controller cannot be made.
    static std::unique_ptr<TSdlTestPad> FromEnvironment();
    explicit TSdlTestPad(const std::string& File);
    ~TSdlTestPad();
    TSdlTestPad(const TSdlTestPad&) = delete;
    TSdlTestPad& operator=(const TSdlTestPad&) = delete;

    // One turn of the loop: lets go of a pressed button, or runs the next command when due.
    void Turn();

private:
    bool NextLine(std::string& Line);
    std::string File_;
    std::ifstream In_;
    std::string Partial_;
    SDL_Joystick* Pad_ = nullptr;
    int Index_ = -1;
    int32_t Wait_ = 0;
    int32_t Releasing_ = -1;  // the button a press lets go of when Wait_ reaches its half
};

}  // namespace kv
