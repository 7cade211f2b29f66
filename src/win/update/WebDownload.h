// Fetching one file from the web into a local file, always from the server
// (never the internet cache), accepting only a complete "200 OK" answer.
#pragma once

#include <optional>
#include <string>

namespace tide {

// How the file finally came, after any redirection.
enum class Transport { Http, Https };

// Downloads `url` to `path` (replaced). Nothing when the server cannot be
// reached, answers anything but 200, or the transfer breaks off; `path` is
// then removed rather than left half written. Blocks the calling thread, at
// most about a quarter of a minute without progress.
std::optional<Transport> DownloadToFile(const std::wstring& url, const std::wstring& path);

} // namespace tide
