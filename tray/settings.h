// TraySettings: the settings file beside the executable. It holds the icons
// to show and the sensor to track, read at start, and the catalog of every
// location sensor seen, written with the settings at the end.
#pragma once

#include <afxwin.h>

#include <map>
#include <string>

#include "guid_less.h"

struct CatalogEntry {
    CString idText;
    CString name;
};

using SensorCatalog = std::map<GUID, CatalogEntry, GuidLess>;

class TraySettings {
public:
    void Load();
    // Writes the settings and the catalog, all or nothing, then empties the
    // catalog. Only the first call of a run writes.
    void Save();

    // Records a sensor in the catalog: the tracked sensor always, others
    // while the catalog holds fewer than kMaxCatalogSensors (a gpsd can
    // invent new receivers without end).
    void RecordSensor(const GUID& id, const CString& name);
    // The name the catalog knows for the sensor, or empty.
    CString CatalogName(const GUID& id) const;
    bool IsTracked(const GUID& id) const;

    // The icon file and index configured for a ready or a not-ready sensor.
    const CString& IconFile(bool ready) const;
    int IconIndex(bool ready) const;

    const GUID& TrackedSensorId() const { return m_sensorId; }
    // The settings file, known once loaded.
    const std::wstring& Path() const { return m_path; }

    static constexpr size_t kMaxCatalogSensors = 256;

private:
    void Write(const std::wstring& path) const;

    CString m_enableIconFile;
    int m_enableIconIndex = 0;
    CString m_disableIconFile;
    int m_disableIconIndex = 0;
    CString m_sensorIdText;
    GUID m_sensorId{};
    std::wstring m_path;
    bool m_saved = false;
    SensorCatalog m_catalog;
    bool m_catalogFull = false;
};
