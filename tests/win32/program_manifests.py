#!/usr/bin/env python3
"""Reads the application manifest (RT_MANIFEST 1) out of each built PE file
and checks what it asks of Windows: common controls 6, per-monitor DPI
awareness with a system-aware fallback, the systems up to Windows 10/11 and
long paths; and that no entry point newer than Windows 7 is imported.

Usage: program_manifests.py PE_FILE..."""
import struct
import sys
import xml.etree.ElementTree as ET

RT_MANIFEST = 24
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
WS2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
WS2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
WINDOWS_7 = "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
# Entry points the programs look up at run time, so they still start on Windows 7.
NEWER_ENTRY_POINTS = {b"GetDpiForWindow", b"GetDpiForSystem", b"GetDpiForMonitor",
                      b"SetProcessDpiAwarenessContext", b"AdjustWindowRectExForDpi",
                      b"GetSystemMetricsForDpi", b"RtlGetVersion"}


class Pe:
    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[:2] != b"MZ" or data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i)
                         for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return raw + rva - address
        raise ValueError("address %#x outside every section" % rva)

    def resource(self, type_id, name_id):
        root = self.offset(self.directories[2][0])

        def entries(directory):
            named, ids = struct.unpack_from("<12xHH", self.data, directory)
            for i in range(named + ids):
                yield struct.unpack_from("<II", self.data, directory + 16 + 8 * i)

        def child(directory, wanted):
            for name, target in entries(directory):
                if wanted is None or name == wanted:
                    return target
            return None

        level = root
        for wanted in (type_id, name_id, None):
            target = child(level, wanted)
            if target is None or (wanted is not None and not target & 0x80000000):
                return None
            level = root + (target & 0x7FFFFFFF)
        rva, size = struct.unpack_from("<II", self.data, level)
        start = self.offset(rva)
        return self.data[start:start + size]

    def imported_names(self):
        rva = self.directories[1][0]
        names = set()
        while rva:
            lookup, _, _, dll, first = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if dll == 0:
                break
            thunk = self.offset(lookup or first)
            while True:
                entry = struct.unpack_from("<Q", self.data, thunk)[0]
                if entry == 0:
                    break
                if not entry >> 63:
                    name = self.offset(entry & 0x7FFFFFFF) + 2
                    names.add(self.data[name:self.data.index(b"\0", name)])
                thunk += 8
            rva += 20
        return names


def check(path):
    pe = Pe(open(path, "rb").read())
    manifest = pe.resource(RT_MANIFEST, 1)
    if manifest is None:
        return ["no RT_MANIFEST 1"]
    root = ET.fromstring(manifest)
    problems = []

    def expect(condition, what):
        if not condition:
            problems.append(what)

    controls = [a for a in root.iter(ASM_V1 + "assemblyIdentity")
                if a.get("name") == "Microsoft.Windows.Common-Controls"]
    expect(len(controls) == 1 and controls[0].get("version") == "6.0.0.0"
           and controls[0].get("publicKeyToken") == "6595b64144ccf1df",
           "common controls 6 dependency")
    settings = root.find(ASM_V3 + "application/" + ASM_V3 + "windowsSettings")
    if settings is None:
        settings = root.find(ASM_V1 + "application/" + ASM_V1 + "windowsSettings")
    expect(settings is not None, "windowsSettings")
    if settings is not None:
        aware = settings.findtext(WS2005 + "dpiAware", "").strip().lower()
        expect(aware == "true", "dpiAware true (system-aware where dpiAwareness is not read), not %r"
               % aware)
        awareness = [a.strip().lower()
                     for a in settings.findtext(WS2016 + "dpiAwareness", "").split(",")]
        expect(awareness == ["permonitorv2", "system"],
               "dpiAwareness PerMonitorV2 falling back to System, not %r" % awareness)
        expect(settings.findtext(WS2016 + "longPathAware", "").strip().lower() == "true",
               "longPathAware true")
    systems = {s.get("Id", "").lower() for s in root.iter(COMPAT + "supportedOS")}
    expect({WINDOWS_7, WINDOWS_10} <= systems, "supportedOS Windows 7 to 10/11: %s" % systems)
    newer = NEWER_ENTRY_POINTS & pe.imported_names()
    expect(not newer, "imports entry points newer than Windows 7: %s" % sorted(newer))
    return problems


def main(arguments):
    failed = 0
    for path in arguments:
        problems = check(path)
        for problem in problems:
            print("%s: %s" % (path, problem))
        failed += bool(problems)
        if not problems:
            print("%s: manifest as expected" % path)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
