// A fresh folder under the system's temporary folder, removed with all it holds when it
// goes: the game folder of a game played by a tool, the soak, a benchmark or a test, never
// the real current directory.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

class TemporaryFolder {
public:
    // A name of its own: a folder made by this call, never one that was there.
    explicit TemporaryFolder(const std::string& prefix = "rotorstrike") {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const std::filesystem::path path =
                std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(random() % 1000000000u));
            if (std::filesystem::create_directory(path)) path_ = path.string();
        }
        if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + "/" + std::string(name); }

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
        for (const auto& entry : std::filesystem::directory_iterator(path_)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::string path_;
};

}  // namespace sim
