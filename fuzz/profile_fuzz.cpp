// libFuzzer target over the profile file's text: arbitrary file contents, names and values,
// reads and writes. Beyond "no crash, no undefined behaviour", three properties must hold:
// a text read fits its buffer, what a write reports as written reads back (as a number and
// as text), and a write leaves every other key's value as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "profile_format.h"

namespace {

// A name the profile format holds as it is: letters, digits and underscores, 1 to 12 of them.
std::string plainName(FuzzedDataProvider& input) {
    static constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(1, 12);
    std::string name;
    for (std::size_t i = 0; i < length; ++i) name += kAlphabet[input.ConsumeIntegralInRange<std::size_t>(0, sizeof kAlphabet - 2)];
    return name;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void fail(const char* what) {
    __builtin_trap();
    (void)what;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);

    // Arbitrary names and values: only that nothing breaks.
    const std::string anySection = input.ConsumeRandomLengthString(64);
    const std::string anyKey = input.ConsumeRandomLengthString(64);
    const std::string anyValue = input.ConsumeRandomLengthString(64);
    const int32_t defaultValue = input.ConsumeIntegral<int32_t>();

    // Plain names for the properties, and a number to write.
    const std::string section = plainName(input);
    const std::string key = plainName(input);
    const std::string otherSection = input.ConsumeBool() ? section : plainName(input);
    const std::string otherKey = plainName(input);
    const std::string number = std::to_string(input.ConsumeIntegral<int32_t>());
    const std::string file = input.ConsumeRemainingBytesAsString();

    (void)profile::readInt(file, anySection, anyKey, defaultValue);
    const std::size_t bufferSize = anyValue.size();
    const std::string text = profile::readString(file, anySection, anyKey, anyValue, bufferSize);
    if (bufferSize == 0 ? !text.empty() : text.size() >= bufferSize) fail("a text read overfilled its buffer");
    const profile::Edit anyEdit = profile::writeString(file, anySection, anyKey, anyValue);
    if (anyEdit.ok && anyEdit.changed) (void)profile::readInt(anyEdit.bytes, anySection, anyKey, defaultValue);

    const uint32_t otherBefore = profile::readInt(file, otherSection, otherKey, defaultValue);
    const profile::Edit edit = profile::writeString(file, section, key, number);
    if (!edit.ok) fail("a plain name and number were refused");
    const std::string& after = edit.changed ? edit.bytes : file;
    const uint32_t expected = static_cast<uint32_t>(std::stol(number));
    if (profile::readInt(after, section, key, defaultValue) != expected) fail("a written value does not read back");
    if (profile::readString(after, section, key, "", 16) != number) fail("a written value does not read back as text");
    const bool sameKey = sameName(section, otherSection) && sameName(key, otherKey);
    if (!sameKey && profile::readInt(after, otherSection, otherKey, defaultValue) != otherBefore) {
        fail("a write changed another key's value");
    }
    return 0;
}
