// temporary_folder.h: a fresh private folder under the system's temporary folder, removed with
// everything in it when the object goes.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace quirn::testing_fakes {

class TemporaryFolder {
  public:
    explicit TemporaryFolder(const std::string& prefix) {
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    (prefix + std::to_string(random()) + std::to_string(random()));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace quirn::testing_fakes
