#pragma once
// The version check: fetches the published version number over HTTP and
// tells the user when a newer program exists. Both checks stay silent when
// the download fails.
#include <string>

// Help > "Check program version...": answers whenever the download succeeded.
int check_version_now();
// The start-up check: only with the preference on, and it speaks only about
// a newer version.
int check_version_at_startup();

// The name lookup and the connection together may take at most this long,
// so that a machine without network is not held up at start-up.
inline constexpr int kVersionConnectMs = 2000;
// Each wait for reply data may take at most this long.
inline constexpr int kVersionReplyWaitMs = 10000;

// For tests only: where the version file is fetched from, and how long one
// wait for reply data may last. Users always get the built-in endpoint.
void set_version_endpoint(const std::string& host, int port);
void set_version_reply_wait(int ms);
void reset_version_endpoint();

// The request sent for the version file to host:port.
std::string version_request(const std::string& host, int port);
