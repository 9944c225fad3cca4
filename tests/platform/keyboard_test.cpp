// Which shortcut key a key event means: letters and the comma by the
// character the layout gives, the other keys by their place.
#include "platform/keyboard.h"

#include <SDL_keyboard.h>
#include <gtest/gtest.h>

namespace rallinox {
namespace {

int pressesOf(Key key, SDL_Scancode place, SDL_Keycode character, bool repeat = false) {
    beginKeyFrame();
    noteKeyDown(place, character, repeat);
    return keyPresses(key, repeat);
}

TEST(Keyboard, LettersFollowTheLayoutNotThePlace) {
    // French: Z where US has W, A where US has Q, M right of L, comma where US has M.
    EXPECT_EQ(pressesOf(Key::Z, SDL_SCANCODE_W, SDLK_z), 1);
    EXPECT_EQ(pressesOf(Key::Z, SDL_SCANCODE_Z, SDLK_w), 0);
    EXPECT_EQ(pressesOf(Key::A, SDL_SCANCODE_Q, SDLK_a), 1);
    EXPECT_EQ(pressesOf(Key::M, SDL_SCANCODE_SEMICOLON, SDLK_m), 1);
    EXPECT_EQ(pressesOf(Key::M, SDL_SCANCODE_M, SDLK_COMMA), 0);
    EXPECT_EQ(pressesOf(Key::Comma, SDL_SCANCODE_M, SDLK_COMMA), 1);
    // German: Z where US has Y.
    EXPECT_EQ(pressesOf(Key::Z, SDL_SCANCODE_Y, SDLK_z), 1);
}

TEST(Keyboard, OtherKeysAndLettersWithoutLatinCharactersGoByPlace) {
    // The French digit row types "&" and "é" without Shift.
    EXPECT_EQ(pressesOf(Key::Digit1, SDL_SCANCODE_1, SDLK_AMPERSAND), 1);
    EXPECT_EQ(pressesOf(Key::Digit2, SDL_SCANCODE_2, 0xE9), 1);
    EXPECT_EQ(pressesOf(Key::Left, SDL_SCANCODE_LEFT, SDLK_LEFT), 1);
    // A Russian keyboard types "я" on the US Z key.
    EXPECT_EQ(pressesOf(Key::Z, SDL_SCANCODE_Z, 0x44F), 1);
}

TEST(Keyboard, EachPressOfTheFrameCountsAndRepeatsOnlyWhenAsked) {
    beginKeyFrame();
    noteKeyDown(SDL_SCANCODE_LEFT, SDLK_LEFT, false);
    noteKeyDown(SDL_SCANCODE_LEFT, SDLK_LEFT, true);
    noteKeyDown(SDL_SCANCODE_LEFT, SDLK_LEFT, false);
    EXPECT_EQ(keyPresses(Key::Left, false), 2);
    EXPECT_EQ(keyPresses(Key::Left, true), 3);
    EXPECT_EQ(keyPresses(Key::Right, true), 0);
    beginKeyFrame();
    EXPECT_EQ(keyPresses(Key::Left, true), 0);
}

}  // namespace
}  // namespace rallinox
