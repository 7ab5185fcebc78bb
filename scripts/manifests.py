#!/usr/bin/env python3
"""The package managers' manifests for the release zips that package.sh puts in dist/.

    manifests.py write <dist> <version> <releases url>
    manifests.py check <dist>

write makes <dist>/quillet.json (Scoop: `scoop install <dist>/quillet.json`) and the winget
manifest set <dist>/winget/ (`winget install --manifest <dist>/winget`), each naming
<releases url>/Quillet-<version>-win64.zip and -win32.zip with the SHA-256 of the zips in <dist>.
check parses them (JSON, YAML) and fails unless they name exactly the zips <dist> holds, with
their SHA-256, the program inside them, and keep the project file as the install needs it.
"""
import hashlib
import json
import os
import re
import sys
import zipfile

import yaml

PACKAGE_ID = "Quillet.Quillet"
PUBLISHER = "The Quillet authors"
DESCRIPTION = ("A small time recorder: pick a project, press start, and the time counts into "
               "the project's total, kept in one text file beside the program.")
EXE_IN_ZIP = "Quillet/Quillet.exe"
DATA_FILE = "Projekte.dbu"
ARCHES = {"win64": ("64bit", "x64"), "win32": ("32bit", "x86")}
MANIFEST_VERSION = "1.6.0"
WINGET_FILES = {
    "version": PACKAGE_ID + ".yaml",
    "installer": PACKAGE_ID + ".installer.yaml",
    "defaultLocale": PACKAGE_ID + ".locale.en-US.yaml",
}

# Scoop moves the zip's Projekte.dbu into its persist folder on the first install and links
# it back on every later one. A persisted name that does not exist at that moment becomes a
# folder, so the file is made first when missing; the zip's empty copy is dropped once the
# persisted one exists, so that nothing is left beside the link as Projekte.dbu.original.
SCOOP_PRE_INSTALL = [
    "$data = \"$persist_dir\\" + DATA_FILE + "\"",
    "if (!(Test-Path $data)) {",
    "    New-Item -ItemType Directory -Force -Path $persist_dir | Out-Null",
    "    New-Item -ItemType File -Path $data | Out-Null",
    "}",
    "Remove-Item -Force \"$dir\\" + DATA_FILE + "\" -ErrorAction SilentlyContinue",
]


def zip_name(version, arch):
    return "Quillet-%s-%s.zip" % (version, arch)


def sha256(path):
    with open(path, "rb") as file:
        return hashlib.sha256(file.read()).hexdigest()


def homepage(releases_url):
    return re.match(r"^(https?://[^/]+)", releases_url).group(1)


def scoop_manifest(dist, version, releases_url):
    architecture = {}
    for arch, (scoop_arch, _) in ARCHES.items():
        name = zip_name(version, arch)
        architecture[scoop_arch] = {
            "url": releases_url + "/" + name,
            "hash": sha256(os.path.join(dist, name)),
            "extract_dir": "Quillet",
        }
    return {
        "version": version,
        "description": DESCRIPTION,
        "homepage": homepage(releases_url),
        "license": "MIT",
        "architecture": architecture,
        "pre_install": SCOOP_PRE_INSTALL,
        "shortcuts": [["Quillet.exe", "Quillet"]],
        "persist": DATA_FILE,
    }


# The program finds its project file beside itself, so winget puts the package folder on PATH
# instead of starting it through a link in its Links folder.
def winget_manifests(dist, version, releases_url):
    common = {"PackageIdentifier": PACKAGE_ID, "PackageVersion": version}
    installers = []
    for arch, (_, winget_arch) in ARCHES.items():
        name = zip_name(version, arch)
        installers.append({
            "Architecture": winget_arch,
            "InstallerUrl": releases_url + "/" + name,
            "InstallerSha256": sha256(os.path.join(dist, name)).upper(),
        })
    return {
        "version": dict(common, DefaultLocale="en-US"),
        "installer": dict(common,
                          InstallerType="zip",
                          NestedInstallerType="portable",
                          NestedInstallerFiles=[{
                              "RelativeFilePath": EXE_IN_ZIP.replace("/", "\\"),
                              "PortableCommandAlias": "quillet",
                          }],
                          ArchiveBinariesDependOnPath=True,
                          Installers=installers),
        "defaultLocale": dict(common,
                              PackageLocale="en-US",
                              Publisher=PUBLISHER,
                              PublisherUrl=homepage(releases_url),
                              PackageName="Quillet",
                              PackageUrl=homepage(releases_url),
                              License="MIT",
                              ShortDescription=DESCRIPTION,
                              Moniker="quillet"),
    }


def write(dist, version, releases_url):
    releases_url = releases_url.rstrip("/")
    with open(os.path.join(dist, "quillet.json"), "w", newline="\n") as file:
        json.dump(scoop_manifest(dist, version, releases_url), file, indent=4)
        file.write("\n")
    folder = os.path.join(dist, "winget")
    os.makedirs(folder, exist_ok=True)
    for kind, content in winget_manifests(dist, version, releases_url).items():
        content = dict(content, ManifestType=kind, ManifestVersion=MANIFEST_VERSION)
        with open(os.path.join(folder, WINGET_FILES[kind]), "w", newline="\n") as file:
            file.write("# yaml-language-server: $schema=https://aka.ms/winget-manifest.%s.%s"
                       ".schema.json\n" % (kind, MANIFEST_VERSION))
            yaml.safe_dump(content, file, sort_keys=False, allow_unicode=False, width=200)


class Checker:
    def __init__(self, dist):
        self.dist = dist
        self.errors = []

    def expect(self, condition, message):
        if not condition:
            self.errors.append(message)

    # The zips dist holds, by architecture, and the version in their names.
    def zips(self):
        found = {}
        for name in sorted(os.listdir(self.dist)):
            match = re.fullmatch(r"Quillet-(.+)-(win32|win64)\.zip", name)
            if match:
                found[match.group(2)] = (match.group(1), name)
        self.expect(sorted(found) == sorted(ARCHES), "dist holds zips for %s" % sorted(found))
        versions = {version for version, _ in found.values()}
        self.expect(len(versions) == 1, "the zips are of versions %s" % sorted(versions))
        for version, name in found.values():
            with zipfile.ZipFile(os.path.join(self.dist, name)) as archive:
                self.expect(EXE_IN_ZIP in archive.namelist(), name + " holds no " + EXE_IN_ZIP)
        return found

    def url(self, url, name, where):
        self.expect(re.fullmatch(r"https://[^/\s]+/\S*", url or "") is not None,
                    "%s: %r is no https address" % (where, url))
        self.expect((url or "").rsplit("/", 1)[-1] == name, "%s: %r names no %s" % (where, url,
                                                                                     name))

    def scoop(self, zips):
        with open(os.path.join(self.dist, "quillet.json"), encoding="utf-8") as file:
            manifest = json.load(file)
        version = next(iter(zips.values()))[0]
        self.expect(manifest.get("version") == version, "quillet.json: version")
        architecture = manifest.get("architecture", {})
        self.expect(sorted(architecture) == sorted(a for a, _ in ARCHES.values()),
                    "quillet.json: architectures %s" % sorted(architecture))
        for arch, (scoop_arch, _) in ARCHES.items():
            entry = architecture.get(scoop_arch, {})
            name = zips.get(arch, ("", ""))[1]
            self.url(entry.get("url"), name, "quillet.json " + scoop_arch)
            self.expect(entry.get("hash") == sha256(os.path.join(self.dist, name)),
                        "quillet.json %s: hash is not the SHA-256 of %s" % (scoop_arch, name))
            self.expect(entry.get("extract_dir") == EXE_IN_ZIP.split("/")[0],
                        "quillet.json %s: extract_dir" % scoop_arch)
        self.expect(manifest.get("persist") == DATA_FILE, "quillet.json: persist")
        pre_install = "\n".join(manifest.get("pre_install", []))
        self.expect("New-Item -ItemType File" in pre_install and DATA_FILE in pre_install,
                    "quillet.json: pre_install does not make " + DATA_FILE)

    def winget(self, zips):
        loaded = {}
        for kind, file_name in WINGET_FILES.items():
            with open(os.path.join(self.dist, "winget", file_name), encoding="utf-8") as file:
                loaded[kind] = yaml.safe_load(file)
            self.expect(isinstance(loaded[kind], dict) and
                        loaded[kind].get("ManifestType") == kind,
                        "winget/%s: ManifestType is not %s" % (file_name, kind))
        version = next(iter(zips.values()))[0]
        for kind, manifest in loaded.items():
            self.expect(manifest.get("PackageIdentifier") == PACKAGE_ID and
                        manifest.get("PackageVersion") == version,
                        "winget/%s: identifier or version" % WINGET_FILES[kind])
        self.expect(loaded["version"].get("DefaultLocale") ==
                    loaded["defaultLocale"].get("PackageLocale"), "winget: default locale")
        installer = loaded["installer"]
        self.expect(installer.get("InstallerType") == "zip" and
                    installer.get("NestedInstallerType") == "portable",
                    "winget installer: not a zip with a portable inside")
        self.expect(installer.get("NestedInstallerFiles") == [{
            "RelativeFilePath": EXE_IN_ZIP.replace("/", "\\"), "PortableCommandAlias": "quillet"
        }], "winget installer: NestedInstallerFiles")
        by_arch = {entry.get("Architecture"): entry for entry in installer.get("Installers", [])}
        self.expect(sorted(by_arch) == sorted(w for _, w in ARCHES.values()),
                    "winget installer: architectures %s" % sorted(by_arch))
        for arch, (_, winget_arch) in ARCHES.items():
            entry = by_arch.get(winget_arch, {})
            name = zips.get(arch, ("", ""))[1]
            self.url(entry.get("InstallerUrl"), name, "winget " + winget_arch)
            self.expect(entry.get("InstallerSha256") == sha256(os.path.join(self.dist,
                                                                            name)).upper(),
                        "winget %s: InstallerSha256 is not the SHA-256 of %s" % (winget_arch,
                                                                                 name))

    def run(self):
        zips = self.zips()
        if not self.errors:
            self.scoop(zips)
            self.winget(zips)
        return self.errors


def main(argv):
    if len(argv) == 5 and argv[1] == "write":
        write(argv[2], argv[3], argv[4])
        return 0
    if len(argv) == 3 and argv[1] == "check":
        try:
            errors = Checker(argv[2]).run()
        except (OSError, ValueError, KeyError, AttributeError, yaml.YAMLError) as error:
            errors = ["cannot read the manifests: %s" % error]
        for error in errors:
            print("manifests.py: " + error, file=sys.stderr)
        return 1 if errors else 0
    print(__doc__.strip(), file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
