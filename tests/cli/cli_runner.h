#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace trovik::testing {

// Runs the built trovik-cli in a folder of its own, as a user would.
class CliFolder {
public:
    CliFolder() {
        static int serial = 0;
        dir_ = std::filesystem::path(::testing::TempDir()) /
               ("trovik-cli-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~CliFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    CliFolder(const CliFolder&) = delete;
    CliFolder& operator=(const CliFolder&) = delete;

    struct Result {
        int exitCode;
        std::string out;
        std::string err;
    };

    // Arguments are passed through the shell in single quotes.
    Result Run(const std::vector<std::string>& args) const {
        std::string command = "cd '" + dir_.string() + "' && '" TROVIK_CLI "'";
        for (const auto& arg : args) {
            std::string quoted;
            for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
            command += " '" + quoted + "'";
        }
        command += " >.stdout 2>.stderr </dev/null";
        const int status = std::system(command.c_str());
        Result result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(".stdout"), Read(".stderr")};
        std::filesystem::remove(dir_ / ".stdout");
        std::filesystem::remove(dir_ / ".stderr");
        return result;
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }
    void CopySampleTemplate(const std::string& name = "TROVIK.HEX") const {
        std::filesystem::copy_file(TROVIK_SOURCE_DIR "/examples/TROVIK.HEX", dir_ / name,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    int Shell(const std::string& command) const {
        return std::system(("cd '" + dir_.string() + "' && " + command).c_str());
    }

private:
    std::filesystem::path dir_;
};

}  // namespace trovik::testing
