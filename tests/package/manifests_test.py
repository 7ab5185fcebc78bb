#!/usr/bin/env python3
"""scripts/manifests.py on a dist/ folder of its own: what it writes passes its check, and the
check catches manifests that no longer fit the zips."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts",
                      "manifests.py")
URL = "https://quillet.example.org/releases/1.2.3.4"


def run(*args):
    return subprocess.run([sys.executable, SCRIPT] + list(args), capture_output=True, text=True)


class Manifests(unittest.TestCase):
    def setUp(self):
        self.dist = tempfile.mkdtemp()
        for arch in ("win32", "win64"):
            with zipfile.ZipFile(self.zip(arch), "w") as archive:
                archive.writestr("Quillet/Quillet.exe", "MZ " + arch)
                archive.writestr("Quillet/Projekte.dbu", "")
        self.assertEqual(run("write", self.dist, "1.2.3.4", URL).returncode, 0)

    def tearDown(self):
        shutil.rmtree(self.dist)

    def zip(self, arch):
        return os.path.join(self.dist, "Quillet-1.2.3.4-%s.zip" % arch)

    def edit(self, name, old, new):
        path = os.path.join(self.dist, name)
        with open(path) as file:
            text = file.read()
        self.assertIn(old, text)
        with open(path, "w") as file:
            file.write(text.replace(old, new))

    def check_fails(self, expected):
        result = run("check", self.dist)
        self.assertEqual(result.returncode, 1, result.stderr)
        self.assertIn(expected, result.stderr)

    def test_written_manifests_pass_and_name_the_zips(self):
        result = run("check", self.dist)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(os.path.join(self.dist, "quillet.json")) as file:
            self.assertIn(URL + "/Quillet-1.2.3.4-win64.zip", file.read())
        with open(os.path.join(self.dist, "winget", "Quillet.Quillet.installer.yaml")) as file:
            text = file.read()
        self.assertIn("InstallerType: zip", text)
        self.assertIn("NestedInstallerType: portable", text)

    def test_a_rebuilt_zip_no_longer_fits_its_hash(self):
        with zipfile.ZipFile(self.zip("win32"), "a") as archive:
            archive.writestr("Quillet/extra.txt", "x")
        self.check_fails("hash is not the SHA-256 of Quillet-1.2.3.4-win32.zip")
        self.check_fails("winget x86: InstallerSha256 is not the SHA-256")

    def test_an_address_naming_another_file_fails(self):
        self.edit(os.path.join("winget", "Quillet.Quillet.installer.yaml"), "-win64.zip",
                  "-win64-old.zip")
        self.check_fails("winget x64")

    def test_broken_yaml_fails(self):
        self.edit(os.path.join("winget", "Quillet.Quillet.yaml"), "DefaultLocale: en-US",
                  "DefaultLocale: [en-US")
        self.check_fails("cannot read the manifests")

    def test_broken_json_fails(self):
        self.edit("quillet.json", "{", "{{")
        self.check_fails("cannot read the manifests")

    def test_a_missing_zip_fails(self):
        os.remove(self.zip("win64"))
        self.check_fails("dist holds zips for ['win32']")

    def test_scoop_keeps_the_project_file_in_its_persist_folder(self):
        self.edit("quillet.json", "New-Item -ItemType File", "New-Item -ItemType Directory")
        self.check_fails("pre_install does not make Projekte.dbu")


if __name__ == "__main__":
    unittest.main()
