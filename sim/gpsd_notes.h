#pragma once

#include <string>

// Where a gpsd is: host:port, [v6 address]:port or host alone (port 2947).
struct GpsdAddress {
    explicit GpsdAddress(const std::string& server);

    std::string host, port;
};

// Tells on standard error, in one line, a problem with the gpsd at `server`
// when it differs from the last one told for it; an empty problem (the
// gpsd answered) only forgets the last. Shared by every thread.
void TellGpsdProblem(const std::string& server, const std::string& problem);
// Tells a note about the gpsd at `server` once per process.
void TellGpsdNoteOnce(const std::string& server, const std::string& note);
