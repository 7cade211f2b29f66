// A web server on 127.0.0.1 serving the files of a folder: Python's
// http.server run as a Linux process beside Wine, started and stopped by
// the test that owns it.
#pragma once

#include <string>

#include "support/WinTestSupport.h"

namespace tide::test {

class LocalWebServer {
public:
    // Starts serving `root`; port() is 0 when the server did not come up.
    explicit LocalWebServer(const std::wstring& root);
    LocalWebServer(const LocalWebServer&) = delete;
    LocalWebServer& operator=(const LocalWebServer&) = delete;
    // Stops the server and waits for it to let go of its port.
    ~LocalWebServer();

    int port() const { return port_; }
    // "http://127.0.0.1:PORT"
    std::wstring address() const;
    // Requests served so far, one "GET /path HTTP/1.1 200" line each.
    std::string requests() const;

private:
    ScratchFolder state_;
    int port_ = 0;
};

} // namespace tide::test
