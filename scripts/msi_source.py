#!/usr/bin/env python3
"""Writes the WiX source of the server's Windows Installer package for one bitness.

The package installs the server, its type library, its manifest and the IDL and header for developers,
and registers the server through its own registry rows: the same keys and values the server writes
when regsvr32 registers it for the machine (classes and ProgIDs from the class table, the type library
and the interfaces automation marshals from the IDL).

Usage: msi_source.py --idl IDL --classes LIST --arch x64|x86 --version X.Y.Z --output WXS
wixl takes the files from the folder of WXS: QlxWCommon.dll, QlxWCommon.tlb, QlxWCommon.manifest,
QlxWCommon.idl, QlxWCommon_h.h and QlxWCommon_i.c.
"""
import argparse
import re
import sys
import uuid
from xml.sax.saxutils import quoteattr

# Stable identities: the same component GUIDs in every build, so that upgrades replace what they own.
NAMESPACE = uuid.UUID("5c2f0f8e-3b7e-4c1a-9a57-0d6f1c2b8e41")
UPGRADE_CODES = {"x64": "8E3D6B1A-4F27-4C55-9B0E-6A2D71C4F915", "x86": "2B9F4E7C-1D83-4A6B-8C25-F07E93A1D4B6"}
TYPE_LIBRARY_MARSHALLER = "{00020424-0000-0000-C000-000000000046}"
DISPATCH_MARSHALLER = "{00020420-0000-0000-C000-000000000046}"
PROG_ID_PREFIX = "QlxWCommon."
PROG_ID_VERSION = ".1"


def guid_text(text):
    return "{" + text.upper() + "}"


def component_guid(arch, name):
    return str(uuid.uuid5(NAMESPACE, arch + "/" + name)).upper()


def read_idl(path):
    """The library's id, version and help string, the coclasses' ids and the marshalled interfaces."""
    text = open(path, encoding="utf-8").read()
    helps = {}
    # Texts may hold brackets and comment marks: empty them (keeping their place) before anything else.
    def keep(match):
        helps[match.start()] = match.group(1)
        return '"' + " " * len(match.group(1)) + '"'
    text = re.sub(r'"([^"]*)"', keep, text)
    text = re.sub(r"/\*.*?\*/", lambda m: " " * len(m.group(0)), text, flags=re.S)
    text = re.sub(r"//[^\n]*", lambda m: " " * len(m.group(0)), text)
    declaration = re.compile(r"\[([^\]]*)\]\s*(library|coclass|interface|dispinterface)\s+(\w+)")
    library, coclasses, interfaces = None, {}, []
    for match in declaration.finditer(text):
        attributes, kind, name = match.group(1), match.group(2), match.group(3)
        found = re.search(r"uuid\(([0-9A-Fa-f-]+)\)", attributes)
        if not found:
            continue
        guid = guid_text(found.group(1))
        words = set(re.findall(r"\b(dual|oleautomation)\b", attributes))
        if kind == "library":
            version = re.search(r"version\(([\d.]+)\)", attributes)
            help_at = attributes.find("helpstring(")
            title = name
            if help_at >= 0:
                quote = match.start(1) + attributes.index('"', help_at)
                title = helps.get(quote, name)
            library = {"guid": guid, "version": version.group(1) if version else "1.0", "title": title}
        elif kind == "coclass":
            coclasses[name] = guid
        elif kind == "dispinterface":
            interfaces.append((guid, name, DISPATCH_MARSHALLER))
        elif "dual" in words or "oleautomation" in words:
            interfaces.append((guid, name, TYPE_LIBRARY_MARSHALLER))
    if library is None:
        sys.exit(f"{path}: no library with a uuid")
    return library, coclasses, interfaces


def read_classes(path):
    names = []
    for line in open(path, encoding="utf-8"):
        line = line.split("#", 1)[0].strip()
        if line:
            names.append(line.split()[0])
    return names


def registry_rows(library, coclasses, classes, interfaces, arch):
    """(key, name or None, value) as the server's registration writes them under HKEY_CLASSES_ROOT."""
    server = "[#ServerDll]"
    version = library["version"]
    rows = []
    for name in classes:
        class_id = coclasses[name]
        key = "CLSID\\" + class_id
        prog_id = PROG_ID_PREFIX + name
        versioned = prog_id + PROG_ID_VERSION
        rows += [(key, None, prog_id), (key + "\\InprocServer32", None, server),
                 (key + "\\InprocServer32", "ThreadingModel", "Apartment"), (key + "\\ProgID", None, versioned),
                 (key + "\\VersionIndependentProgID", None, prog_id), (key + "\\TypeLib", None, library["guid"]),
                 (key + "\\Version", None, version), (prog_id, None, prog_id), (prog_id + "\\CLSID", None, class_id),
                 (prog_id + "\\CurVer", None, versioned), (versioned, None, prog_id),
                 (versioned + "\\CLSID", None, class_id)]
    library_key = "TypeLib\\" + library["guid"] + "\\" + version
    # FLAGS as automation writes it for a library read from its file; HELPDIR is the install folder.
    rows += [(library_key, None, library["title"]), (library_key + "\\FLAGS", None, "8"),
             (library_key + "\\HELPDIR", None, "[INSTALLDIR]"),
             (library_key + "\\0\\" + ("win64" if arch == "x64" else "win32"), None, server)]
    for guid, name, marshaller in interfaces:
        key = "Interface\\" + guid
        rows += [(key, None, name), (key + "\\ProxyStubClsid", None, marshaller),
                 (key + "\\ProxyStubClsid32", None, marshaller), (key + "\\TypeLib", None, library["guid"]),
                 (key + "\\TypeLib", "Version", version)]
    return rows


def main():
    parser = argparse.ArgumentParser()
    for option in ("--idl", "--classes", "--version", "--output"):
        parser.add_argument(option, required=True)
    parser.add_argument("--arch", choices=("x64", "x86"), required=True)
    args = parser.parse_args()
    library, coclasses, interfaces = read_idl(args.idl)
    classes = read_classes(args.classes)
    missing = [name for name in classes if name not in coclasses]
    if missing:
        sys.exit(f"{args.classes}: no coclass in the IDL for {', '.join(missing)}")
    win64 = "yes" if args.arch == "x64" else "no"
    program_files = "ProgramFiles64Folder" if args.arch == "x64" else "ProgramFilesFolder"

    def component(name, body):
        return (f'          <Component Id="{name}" Guid="{component_guid(args.arch, name)}" Win64="{win64}">\n'
                f"{body}          </Component>\n")

    def file_row(identifier, name, key_path=True):
        return (f'            <File Id="{identifier}" Name="{name}" Source={quoteattr(name)}'
                f'{" KeyPath=" + quoteattr("yes") if key_path else ""}/>\n')

    registry = "".join(
        f'            <RegistryValue Root="HKCR" Key={quoteattr(key)}'
        f'{" Name=" + quoteattr(name) if name else ""} Value={quoteattr(value)} Type="string"/>\n'
        for key, name, value in registry_rows(library, coclasses, classes, interfaces, args.arch))
    server = (file_row("ServerDll", "QlxWCommon.dll") + file_row("TypeLibrary", "QlxWCommon.tlb", False) +
              file_row("Manifest", "QlxWCommon.manifest", False))
    developer = (file_row("Idl", "QlxWCommon.idl") + file_row("Header", "QlxWCommon_h.h", False) +
                 file_row("Identifiers", "QlxWCommon_i.c", False))
    bits = "64" if args.arch == "x64" else "32"
    source = f"""<?xml version="1.0" encoding="utf-8"?>
<!-- Made by scripts/msi_source.py from the IDL and the class table: do not edit. -->
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="QlxWCommon ({bits}-bit)" Language="1033" Version="{args.version}" Manufacturer="QlxWCommon"
           UpgradeCode="{UPGRADE_CODES[args.arch]}">
    <Package InstallerVersion="500" Compressed="yes" InstallScope="perMachine"
             Description="QlxWCommon: common services of the family's hosts ({bits}-bit COM server)"/>
    <MajorUpgrade DowngradeErrorMessage="A newer version of QlxWCommon is installed."/>
    <Media Id="1" Cabinet="QlxWCommon.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="{program_files}">
        <Directory Id="INSTALLDIR" Name="QlxWCommon">
{component("Server", server)}{component("Registration", registry)}          <Directory Id="IncludeDir" Name="include">
{component("Developer", developer)}          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Server" Level="1">
      <ComponentRef Id="Server"/>
      <ComponentRef Id="Registration"/>
      <ComponentRef Id="Developer"/>
    </Feature>
  </Product>
</Wix>
"""
    with open(args.output, "w", encoding="utf-8") as out:
        out.write(source)


if __name__ == "__main__":
    main()
