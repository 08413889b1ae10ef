// A fresh folder for one test under the system's temporary folder, removed with all it
// holds when the test ends: tests never touch the real current directory.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "../player/temporary_folder.h"

class TempFolder : public player::TemporaryFolder {
public:
    TempFolder() : TemporaryFolder("rotorstrike-test") {}

    std::string file(std::string_view name) const { return path() + "/" + std::string(name); }

    void write(std::string_view name, std::string_view bytes) const {
        std::ofstream(file(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    // The file's bytes; "<missing>" when there is none.
    std::string read(std::string_view name) const {
        std::ifstream in(file(name), std::ios::binary);
        if (!in) return "<missing>";
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Every name in the folder, to see that no temporary file was left behind.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path())) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
};
