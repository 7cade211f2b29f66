// Runs tools/ime-peer (the stand-in input method) for a test and reads its log.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/WinTestSupport.h"

namespace tide::test {

class ImePeerProcess {
public:
    // Starts the peer with its log in `folder` and waits until it listens.
    // `arguments` are further options of the peer (--map-library ...).
    static std::optional<ImePeerProcess> Start(const ScratchFolder& folder,
                                               const std::wstring& arguments = {});
    // A moved-from peer no longer owns the process (and will not stop it).
    ImePeerProcess(ImePeerProcess&& other) noexcept
        : process_(std::exchange(other.process_, std::nullopt)),
          logPath_(std::move(other.logPath_)) {}
    ImePeerProcess& operator=(ImePeerProcess&&) = delete;
    ~ImePeerProcess();

    // Every line logged so far.
    std::vector<std::string> Lines() const;
    // Waits until the log holds `count` lines that start with `prefix` and
    // returns them; fewer when the time runs out.
    std::vector<std::string> WaitForLines(const std::string& prefix, std::size_t count,
                                          std::chrono::milliseconds timeout) const;
    DWORD processId() const { return process_ ? process_->id() : 0; }
    // What the peer sees of the library it maps (--map-library), read through
    // its own mapping: "library users code=word ...", or "library none".
    std::string LibraryUsers();
    // Closes the peer's window and waits for it to end.
    void Stop();

private:
    ImePeerProcess(ChildProcess process, std::wstring logPath)
        : process_(std::move(process)), logPath_(std::move(logPath)) {}
    std::optional<ChildProcess> process_;
    std::wstring logPath_;
};

// Bytes from the peer's hex dumps ("record=…", "file=…") of a log line.
std::vector<std::uint8_t> HexField(const std::string& line, const std::string& key);

} // namespace tide::test
