#!/usr/bin/python3
"""What the release holds, read without Wine (Wine enforces no privileges,
so only the package's own tables show that it needs no administrator):
    package_test.py OUT_DIR PREVIOUS_VERSION VERSION
OUT_DIR is what build_packages.sh made."""
import hashlib
import pathlib
import re
import subprocess
import sys
import zipfile

import yaml

OUT, PREVIOUS, VERSION = pathlib.Path(sys.argv[1]), sys.argv[2], sys.argv[3]
DIST = OUT / "dist"
UPGRADE_CODE = "{00857820-7625-4AAC-86B2-291CA957E701}"
SHIPPED = ["LICENSE", "README.txt", "THIRD-PARTY-NOTICES.txt", "lodestar.exe", "lodestar.ini", "skyprobe.exe"]
failures = []


def check(passed, what):
    if not passed:
        failures.append(what)
        print("FAILED:", what)


def msiinfo(*arguments):
    return subprocess.run(["msiinfo", *arguments], check=True, capture_output=True, text=True).stdout


def table(msi, name):
    """Rows of a table as dicts; msiinfo's first three lines are the header."""
    lines = msiinfo("export", str(msi), name).replace("\r", "").split("\n")
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def summary(msi):
    return dict(line.split(": ", 1) for line in msiinfo("suminfo", str(msi)).splitlines() if ": " in line)


def check_package(msi, version):
    name = msi.name
    properties = {row["Property"]: row["Value"] for row in table(msi, "Property")}
    check(properties.get("ProductVersion") == version, f"{name}: ProductVersion is not {version}")
    check(properties.get("UpgradeCode") == UPGRADE_CODE, f"{name}: the UpgradeCode changed")
    check(properties.get("AUTOSTART") == "1", f"{name}: start at sign-in is not on by default")
    check("AUTOSTART" in properties.get("SecureCustomProperties", "").split(";"),
          f"{name}: AUTOSTART is not a secure property")
    # Per user: no ALLUSERS=1 (per machine) and no ALLUSERS=2 without MSIINSTALLPERUSER=1.
    all_users = properties.get("ALLUSERS", "")
    check(all_users == "" or (all_users == "2" and properties.get("MSIINSTALLPERUSER") == "1"),
          f"{name}: ALLUSERS={all_users} installs per machine")
    check(properties.get("Manufacturer") and properties.get("ARPHELPLINK", "").startswith("https://"),
          f"{name}: no publisher or help link for Apps & features")
    # The Icon table's rows, from its streams ("Icon.<name>"): exporting it would write files.
    icons = {stream[5:] for stream in msiinfo("streams", str(msi)).split() if stream.startswith("Icon.")}
    check(properties.get("ARPPRODUCTICON") in icons, f"{name}: ARPPRODUCTICON names no icon of the package")

    info = summary(msi)
    word_count = int(info.get("Source", "0").split()[0])  # msiinfo calls PID_WORDCOUNT "Source"
    check(word_count & 8, f"{name}: the summary information does not say 'no elevated privileges required'")
    check(word_count & 2, f"{name}: the summary information does not say 'compressed'")
    check(info.get("Template") == "x64;1033", f"{name}: not a 64-bit package ({info.get('Template')})")
    check("DigitalSignature" not in msiinfo("streams", str(msi)).split(), f"{name}: signed without --sign")

    # Only the user's own folders: LocalAppData\Programs\Lodestar and the user's Programs menu.
    directories = {row["Directory"]: row for row in table(msi, "Directory")}
    chain, directory = [], "INSTALLDIR"
    while directory and directory in directories:
        chain.append(directories[directory]["DefaultDir"])
        directory = directories[directory]["Directory_Parent"]
    check(chain[:-1] == ["Lodestar", "Programs", "."] and "LocalAppDataFolder" in directories,
          f"{name}: not installed into %LOCALAPPDATA%\\Programs\\Lodestar ({chain})")
    machine_folders = {"ProgramFilesFolder", "ProgramFiles64Folder", "CommonFilesFolder", "CommonFiles64Folder",
                       "CommonAppDataFolder", "SystemFolder", "System64Folder", "WindowsFolder", "WindowsVolume"}
    check(not machine_folders & directories.keys(), f"{name}: per-machine folders {machine_folders & directories.keys()}")
    check(all(row["Root"] == "1" for row in table(msi, "Registry")), f"{name}: registry outside HKEY_CURRENT_USER")
    for admin_table in ["ServiceInstall", "ServiceControl", "Environment", "ODBCDriver", "Font", "Class", "TypeLib"]:
        if admin_table in msiinfo("tables", str(msi)).split():
            check(not table(msi, admin_table), f"{name}: {admin_table} rows need administrator rights")
    check(all(not int(row["Type"]) & 0x800 for row in table(msi, "CustomAction")),
          f"{name}: a custom action runs without impersonation (as the system)")

    components = {row["Component"]: row for row in table(msi, "Component")}
    files = {row["FileName"]: row for row in table(msi, "File")}
    check(sorted(files) == SHIPPED, f"{name}: files {sorted(files)}")
    check(all(int(row["Attributes"]) & 256 for row in components.values()), f"{name}: 32-bit components")
    settings = components.get(files.get("lodestar.ini", {}).get("Component_"), {})
    check(int(settings.get("Attributes", 0)) & (16 | 128) == 16 | 128,
          f"{name}: lodestar.ini may be overwritten or removed (component attributes {settings.get('Attributes')})")
    for exe in ["lodestar.exe", "skyprobe.exe"]:
        check(re.fullmatch(r"\d+\.\d+\.\d+\.\d+", files.get(exe, {}).get("Version", "")),
              f"{name}: {exe} has no file version in the package")

    run = [row for row in table(msi, "Registry") if row["Key"] == r"Software\Microsoft\Windows\CurrentVersion\Run"]
    check(len(run) == 1 and run[0]["Name"] == "Lodestar" and run[0]["Value"] == '"[INSTALLDIR]lodestar.exe"',
          f"{name}: the Run value is not Lodestar = the quoted installed lodestar.exe ({run})")
    if run:
        check(components[run[0]["Component_"]]["Condition"] == 'AUTOSTART<>"0"',
              f"{name}: AUTOSTART=0 does not leave out the Run value")
    shortcuts = table(msi, "Shortcut")
    check([(s["Directory_"], s["Name"], s["Target"], s["Icon_"] in icons) for s in shortcuts] ==
          [("ProgramMenuFolder", "Lodestar", "[INSTALLDIR]lodestar.exe", True)],
          f"{name}: not one Start menu shortcut Lodestar to the installed lodestar.exe with its icon")

    # Newer versions and a new build of this one replace it; older ones are refused.
    upgrade = {row["ActionProperty"]: row for row in table(msi, "Upgrade")}
    replaces = upgrade.get("WIX_UPGRADE_DETECTED", {})
    check(replaces.get("VersionMax") == version and int(replaces.get("Attributes", 0)) & 0x200 and
          not int(replaces.get("Attributes", 0)) & 2,
          f"{name}: does not replace installed versions up to and including {version}")
    newer = upgrade.get("WIX_DOWNGRADE_DETECTED", {})
    check(newer.get("VersionMin") == version and int(newer.get("Attributes", 0)) & 2,
          f"{name}: does not detect a newer version")
    check([row["Condition"] for row in table(msi, "LaunchCondition")] == ["NOT WIX_DOWNGRADE_DETECTED"],
          f"{name}: a newer installed version does not stop it")
    return properties


def check_zip(version):
    folder = f"lodestar-{version}"
    with zipfile.ZipFile(DIST / f"{folder}.zip") as archive:
        names = sorted(n[len(folder) + 1:] for n in archive.namelist() if not n.endswith("/"))
        check(names == SHIPPED, f"{folder}.zip holds {names}")
        for text in ["LICENSE", "README.txt", "THIRD-PARTY-NOTICES.txt", "lodestar.ini"]:
            body = archive.read(f"{folder}/{text}")
            check(body.count(b"\n") == body.count(b"\r\n") > 0, f"{folder}.zip: {text} has not CRLF line ends")


def check_winget(properties, msi):
    manifests = {}
    for path in sorted((DIST / "winget").glob("*.yaml")):
        manifests[path.name] = document = yaml.safe_load(path.read_text())
        check(document.get("PackageIdentifier") == "Lodestar.Lodestar" and
              document.get("PackageVersion") == VERSION and document.get("ManifestVersion") == "1.12.0",
              f"winget {path.name}: identifier, version or schema version wrong")
    kinds = {document.get("ManifestType"): document for document in manifests.values()}
    check(sorted(kinds) == ["defaultLocale", "installer", "version"], f"winget manifests: {sorted(manifests)}")
    version, locale, installer = kinds.get("version", {}), kinds.get("defaultLocale", {}), kinds.get("installer", {})
    check(version.get("DefaultLocale") == locale.get("PackageLocale") == "en-US", "winget: the default locale differs")
    for key in ["Publisher", "PackageName", "License", "ShortDescription"]:
        check(locale.get(key), f"winget defaultLocale: {key} is missing")
    check(locale.get("Publisher") == properties["Manufacturer"], "winget: the publisher is not the package's")
    entry = (installer.get("Installers") or [{}])[0]
    check(installer.get("InstallerType") == "wix" and installer.get("Scope") == "user" and
          entry.get("Architecture") == "x64", "winget installer: not a per-user 64-bit wix package")
    check(entry.get("InstallerSha256") == hashlib.sha256(msi.read_bytes()).hexdigest().upper(),
          "winget installer: InstallerSha256 is not the package's")
    check(re.fullmatch(r"https?://\S+", str(entry.get("InstallerUrl"))), "winget installer: no download address")
    check(installer.get("ProductCode") == properties["ProductCode"], "winget installer: ProductCode is not the package's")
    arp = (installer.get("AppsAndFeaturesEntries") or [{}])[0]
    check(arp.get("UpgradeCode") == UPGRADE_CODE and arp.get("DisplayVersion") == VERSION,
          "winget installer: the Apps & features entry is not the package's")


def check_notices():
    """Each quoted section of the notices is its licensors' text as it stands in Debian's copyright file."""
    notices = (OUT / "dist" / f"lodestar-{VERSION}" / "THIRD-PARTY-NOTICES.txt").read_text().replace("\r\n", "\n")
    sections = re.split(r"^-------- from (\S+) \([^)]*\) --------$", notices, flags=re.M)
    check(len(sections) >= 5, "THIRD-PARTY-NOTICES.txt quotes neither the MinGW-w64 nor the GCC copyright file")
    for source, text in zip(sections[1::2], sections[2::2]):
        original = pathlib.Path(source).read_text()
        for paragraph in filter(None, (p.strip("\n") for p in text.split("\n\n"))):
            check(paragraph in original, f"THIRD-PARTY-NOTICES.txt: not in {source}: {paragraph[:60]!r}")


newer = check_package(DIST / f"lodestar-{VERSION}.msi", VERSION)
older = check_package(DIST / f"lodestar-{PREVIOUS}.msi", PREVIOUS)
rebuilt = check_package(OUT / "rebuilt" / f"lodestar-{VERSION}.msi", VERSION)
check(len({newer["ProductCode"], older["ProductCode"], rebuilt["ProductCode"]}) == 3,
      "two packages share a ProductCode")
check_zip(VERSION)
check_winget(newer, DIST / f"lodestar-{VERSION}.msi")
check_notices()
print(f"{len(failures)} failed" if failures else "PASS")
sys.exit(1 if failures else 0)
