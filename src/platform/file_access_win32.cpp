#include <string>

#include <windows.h>

#include "platform/file_access.h"

namespace trovik {
namespace {

std::string Reason(DWORD error) {
    char* text = nullptr;
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string reason = n ? std::string(text, n) : "error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

}  // namespace

FileAccess::ReadResult SystemFileAccess::ReadFile(const std::string& path, std::size_t maxBytes) {
    ReadResult result;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.reason = Reason(GetLastError());
        return result;
    }
    result.bytes.resize(maxBytes);
    std::size_t filled = 0;
    while (filled < maxBytes) {
        DWORD n = 0;
        if (!::ReadFile(file, result.bytes.data() + filled, static_cast<DWORD>(maxBytes - filled), &n, nullptr)) {
            result.reason = Reason(GetLastError());
            CloseHandle(file);
            return result;
        }
        if (n == 0) break;
        filled += n;
    }
    CloseHandle(file);
    result.bytes.resize(filled);
    result.ok = true;
    return result;
}

std::optional<std::string> SystemFileAccess::ReplaceFile(const std::string& path, std::string_view bytes) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return "the file is read-only";
    const std::string temp = path + ".tmp";
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Reason(GetLastError());
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && FlushFileBuffers(file);
    const DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok) {
        DeleteFileA(temp.c_str());
        return written != bytes.size() && error == 0 ? "the disk is full" : Reason(error);
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD moveError = GetLastError();
        DeleteFileA(temp.c_str());
        return Reason(moveError);
    }
    return std::nullopt;
}

}  // namespace trovik
