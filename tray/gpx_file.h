// GpxFile: one day's track log file, kept open while points go into it.
// Each point is written over the closing tags together with a new copy of
// them, in one write, then flushed to the disk: a kill or a power loss
// leaves the file complete with every point but at most the last.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "balloon_texts.h"
#include "gpx_text.h"

class GpxFile {
public:
    GpxFile() = default;
    ~GpxFile() { Close(); }
    GpxFile(const GpxFile&) = delete;
    GpxFile& operator=(const GpxFile&) = delete;

    // Appends the point to the file `name` in `folder` (made if missing).
    // A file not open yet gets a new track named `trackName`: a new file
    // starts with the GPX header, an existing one keeps what it holds.
    // `newSegment` starts a new segment of the open track first.
    std::optional<LogFault> Append(const std::wstring& folder, const std::wstring& name, const std::string& point,
                                   bool newSegment, const std::string& trackName);
    void Close();

private:
    std::optional<LogFault> Open(const std::wstring& folder, const std::wstring& path);
    // A new file appears whole: written beside, then renamed into place.
    std::optional<LogFault> Create(const std::string& text);
    // Writes `text` at `offset` and flushes; where that fails, `restore`
    // goes back in its place and the file ends after it again.
    std::optional<LogFault> WriteAt(LONGLONG offset, const std::string& text, const std::string& restore);

    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::wstring m_path;
    // Where the closing tags begin; for a file just opened, where the new
    // track goes and what is there now.
    LONGLONG m_tailAt = 0;
    std::string m_end;
    bool m_trackOpen = false;
    // The file does not exist yet, or is empty.
    bool m_new = false;
};
