// The virtual-key codes the game uses, by name: the numbers the host system gives its keys
// and the settings file's bindings hold. Plain constants, no OS header: the plug-in, the
// simulated host, the autopilot, the soak and the tests share them.
#pragma once

#include <cstdint>

namespace vk {

constexpr int32_t Backspace = 0x08;
constexpr int32_t Tab = 0x09;
constexpr int32_t Enter = 0x0D;
constexpr int32_t Shift = 0x10;
constexpr int32_t Control = 0x11;
constexpr int32_t Alt = 0x12;
constexpr int32_t Space = 0x20;
constexpr int32_t PageUp = 0x21;
constexpr int32_t PageDown = 0x22;
constexpr int32_t End = 0x23;
constexpr int32_t Home = 0x24;
constexpr int32_t Left = 0x25;
constexpr int32_t Up = 0x26;
constexpr int32_t Right = 0x27;
constexpr int32_t Down = 0x28;
constexpr int32_t Insert = 0x2D;
constexpr int32_t Delete = 0x2E;
// The letters' codes are their upper-case characters.
constexpr int32_t A = 'A';
constexpr int32_t Z = 'Z';

// The numeric keypad's digits, 0x60 to 0x69.
constexpr int32_t Numpad0 = 0x60;
constexpr int32_t Numpad2 = 0x62;
constexpr int32_t Numpad5 = 0x65;
constexpr int32_t Numpad8 = 0x68;
constexpr int32_t Numpad9 = 0x69;
constexpr int32_t numpad(int32_t digit) { return Numpad0 + digit; }

// F1 to F24 follow one another from 0x70.
constexpr int32_t F1 = 0x70;
constexpr int32_t F9 = 0x78;
constexpr int32_t F10 = 0x79;
constexpr int32_t F24 = 0x87;
constexpr int32_t function(int32_t number) { return F1 + number - 1; }

}  // namespace vk
