"""Checks the file managers' installed actions below PREFIX: the key files as GLib's key-file parser reads
them (Nemo, Caja and PCManFM-Qt read theirs with it) with the keys each file manager needs, and GNOME Files'
extension, loaded against a stand-in of its module, offering the right items for a file, a folder and a
.TaZEN file and starting the launcher with them.
usage: filemanager_actions_test.py PREFIX STANDIN_DIR
SPDX-License-Identifier: GPL-3.0-or-later"""
import importlib.util
import sys

prefix, standin = sys.argv[1], sys.argv[2]
tazen = prefix + "/bin/tazen"
failures = []

# GLib's parser from the real PyGObject, before the stand-in takes the name.
try:
    from gi.repository import GLib as RealGLib
except ImportError:
    RealGLib = None

if RealGLib is None:
    print("skipped the key-file checks: python3-gi is not installed (scripts/install-deps installs it)")
else:
    # file, group, the keys that must be there, {key: value} that must match
    nemo = prefix + "/share/nemo/actions/io.codeberg.tazen."
    actions = prefix + "/share/file-manager/actions/io.codeberg.tazen."
    decryptable = "application/x-tazen-encrypted;application/x-tazen-executable;inode/directory;"
    table = [
        (nemo + "encrypt.nemo_action", "Nemo Action", {"Name": "Encrypt with TaZEN", "Extensions": "any;",
                                                     "Exec": tazen + " --encrypt %F", "Selection": "notnone"}),
        (nemo + "decrypt.nemo_action", "Nemo Action", {"Name": "Decrypt with TaZEN", "Mimetypes": decryptable,
                                                     "Exec": tazen + " --decrypt %F", "Selection": "notnone"}),
        (actions + "encrypt.desktop", "Desktop Entry", {"Type": "Action", "Profiles": "chosen;"}),
        (actions + "encrypt.desktop", "X-Action-Profile chosen", {"MimeTypes": "all/all;",
                                                                  "Exec": tazen + " --encrypt %F"}),
        (actions + "decrypt.desktop", "Desktop Entry", {"Type": "Action", "Profiles": "chosen;"}),
        (actions + "decrypt.desktop", "X-Action-Profile chosen", {"MimeTypes": decryptable,
                                                                  "Exec": tazen + " --decrypt %F"}),
    ]
    for path, group, wanted in table:
        keys = RealGLib.KeyFile()
        try:
            keys.load_from_file(path, RealGLib.KeyFileFlags.NONE)
        except RealGLib.Error as error:
            failures.append(f"{path}: {error.message}")
            continue
        for key, value in wanted.items():
            try:
                found = keys.get_string(group, key)
            except RealGLib.Error:
                found = None
            if found != value:
                failures.append(f"{path} [{group}] {key} is {found!r}, not {value!r}")

sys.path.insert(0, standin)
for name in [n for n in sys.modules if n == "gi" or n.startswith("gi.")]:
    del sys.modules[name]
spec = importlib.util.spec_from_file_location("tazen_extension",
                                              prefix + "/share/nautilus-python/extensions/tazen.py")
extension = importlib.util.module_from_spec(spec)
spec.loader.exec_module(extension)
from gi.repository import GLib  # noqa: E402  the stand-in's


class Location:
    def __init__(self, path):
        self.path = path

    def get_path(self):
        return self.path


class FileInfo:
    def __init__(self, path, folder=False):
        self.path, self.folder = path, folder

    def get_location(self):
        return Location(self.path)

    def is_directory(self):
        return self.folder


class Remote(FileInfo):
    def get_location(self):
        return Location(None)


# what is chosen, the items offered
cases = [
    ([FileInfo("/d/notes.txt")], ["encrypt"]),
    ([FileInfo("/d/photos", folder=True)], ["encrypt", "decrypt"]),
    ([FileInfo("/d/notes.txt.TaZEN")], ["decrypt"]),
    ([FileInfo("/d/notes.txt.TaZEN.EXE"), FileInfo("/d/a.TaZEN.exe")], ["decrypt"]),
    ([FileInfo("/d/notes.txt.tazen")], ["encrypt"]),
    ([FileInfo("/d/a.TaZEN"), FileInfo("/d/b.txt")], ["encrypt"]),
    ([FileInfo("/d/a.TaZEN"), FileInfo("/d/sub", folder=True)], ["encrypt", "decrypt"]),
    ([FileInfo("/d/a.txt"), Remote("sftp://host/b.txt")], []),
    ([], []),
]
provider = extension.TaZENMenuProvider()
for files, wanted in cases:
    names = [f.path for f in files]
    items = provider.get_file_items(files)
    offered = [item.properties["name"].split("::")[1] for item in items]
    if offered != wanted:
        failures.append(f"for {names} GNOME Files is offered {offered}, not {wanted}")
        continue
    for item in items:
        del GLib.spawned[:]
        item.emit("activate")
        mode = "--" + item.properties["name"].split("::")[1]
        if GLib.spawned != [[tazen, mode] + names]:
            failures.append(f"{mode} for {names} starts {GLib.spawned}, not {[tazen, mode] + names}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
