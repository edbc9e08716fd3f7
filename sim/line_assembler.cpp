#include "line_assembler.h"

bool LineAssembler::Feed(std::string_view bytes, std::vector<std::string>& lines) {
    bool fits = true;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, end);
        if (m_skipping) {
            m_skipping = end == std::string_view::npos;
        } else if (m_partial.size() + piece.size() > m_maxLine + 1) {
            // Too long even if its last byte is the CR of a CR LF.
            fits = false;
            m_partial.clear();
            m_skipping = end == std::string_view::npos;
        } else {
            m_partial.append(piece);
            if (end != std::string_view::npos) {
                if (!m_partial.empty() && m_partial.back() == '\r') m_partial.pop_back();
                if (m_partial.size() > m_maxLine)
                    fits = false;
                else
                    lines.push_back(std::move(m_partial));
                m_partial.clear();
            }
        }
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
    }
    return fits;
}

void LineAssembler::Clear() {
    m_partial.clear();
    m_skipping = false;
}
