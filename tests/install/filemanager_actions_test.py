"""The file managers' actions installed below PREFIX: the key files as GLib's parser reads them (Nemo, Caja and
PCManFM-Qt read theirs with it), with the keys each needs; GNOME Files' extension, loaded against a stand-in of
its module, offering the right items for files, folders and .TaZEN files and starting the launcher with them.
usage: filemanager_actions_test.py PREFIX STANDIN_DIR
SPDX-License-Identifier: GPL-3.0-or-later"""
import importlib.util
import os
import sys
from types import SimpleNamespace

prefix, standin = sys.argv[1], sys.argv[2]
tazen = prefix + "/bin/tazen"
failures = []

try:
    from gi.repository import GLib as RealGLib  # the real parser, before the stand-in takes the name
except ImportError:
    RealGLib = None
    print("skipped the key-file checks: python3-gi is not installed (scripts/install-deps installs it)")
nemo = prefix + "/share/nemo/actions/io.codeberg.tazen."
actions = prefix + "/share/file-manager/actions/io.codeberg.tazen."
decryptable = "application/x-tazen-encrypted;application/x-tazen-executable;inode/directory;"
openable = "application/x-tazen-encrypted;application/x-tazen-executable;"
# file, group, {key: value}
table = [
    (nemo + "encrypt.nemo_action", "Nemo Action",
     {"Extensions": "any;", "Exec": tazen + " --encrypt %F", "Selection": "notnone"}),
    (nemo + "decrypt.nemo_action", "Nemo Action",
     {"Mimetypes": decryptable, "Exec": tazen + " --decrypt %F", "Selection": "notnone"}),
    (actions + "encrypt.desktop", "Desktop Entry", {"Type": "Action", "Profiles": "chosen;"}),
    (actions + "encrypt.desktop", "X-Action-Profile chosen",
     {"MimeTypes": "all/all;", "Exec": tazen + " --encrypt %F"}),
    (actions + "decrypt.desktop", "X-Action-Profile chosen",
     {"MimeTypes": decryptable, "Exec": tazen + " --decrypt %F"}),
    (nemo + "open.nemo_action", "Nemo Action",
     {"Mimetypes": openable, "Exec": tazen + " --open %F", "Selection": "s", "Name[sv]": "Öppna med TaZEN"}),
    (actions + "open.desktop", "X-Action-Profile chosen",
     {"MimeTypes": openable, "Exec": tazen + " --open %f", "SelectionCount": "1"}),
    (actions + "open.desktop", "Desktop Entry", {"Name[de]": "Mit TaZEN öffnen", "Name[fr]": "Ouvrir avec TaZEN"}),
    (prefix + "/share/kio/servicemenus/io.codeberg.tazen.open.desktop", "Desktop Action open",
     {"Exec": tazen + " --open %f", "Name[es]": "Abrir con TaZEN"}),
]
for path, group, wanted in table if RealGLib else []:
    keys = RealGLib.KeyFile()
    try:
        keys.load_from_file(path, RealGLib.KeyFileFlags.KEEP_TRANSLATIONS)  # Name[sv] and the like
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
found = importlib.util.spec_from_file_location("tazen_extension", prefix + "/share/nautilus-python/extensions/tazen.py")
extension = importlib.util.module_from_spec(found)
found.loader.exec_module(extension)
from gi.repository import GLib  # noqa: E402  the stand-in's


def chosen(path, folder=False, local=True):
    location = SimpleNamespace(get_path=lambda: path if local else None)
    return SimpleNamespace(path=path, get_location=lambda: location, is_directory=lambda: folder)


# what is chosen, the items offered
cases = [
    ([chosen("/d/notes.txt")], ["encrypt"]),
    ([chosen("/d/photos", folder=True)], ["encrypt", "decrypt"]),
    ([chosen("/d/notes.txt.TaZEN")], ["decrypt", "open"]),
    ([chosen("/d/notes.txt.TaZEN.EXE"), chosen("/d/a.TaZEN.exe")], ["decrypt"]),
    ([chosen("/d/notes.txt.tazen")], ["encrypt"]),
    ([chosen("/d/a.TaZEN"), chosen("/d/b.txt")], ["encrypt"]),
    ([chosen("/d/a.TaZEN"), chosen("/d/sub", folder=True)], ["encrypt", "decrypt"]),
    ([chosen("/d/a.txt"), chosen("sftp://host/b.txt", local=False)], []),
    ([], []),
]
for files, wanted in cases:
    names = [f.path for f in files]
    items = extension.TaZENMenuProvider().get_file_items(files)
    offered = [item.properties["name"].split("::")[1] for item in items]
    if offered != wanted:
        failures.append(f"for {names} GNOME Files is offered {offered}, not {wanted}")
        continue
    for item, mode in zip(items, offered):
        del GLib.spawned[:]
        item.emit("activate")
        if GLib.spawned != [[tazen, "--" + mode] + names]:
            failures.append(f"--{mode} for {names} starts {GLib.spawned}, not {[tazen, '--' + mode] + names}")

# the user's locale settings, the labels of the items a folder is offered
languages = [
    ({"LANGUAGE": "de", "LANG": "en_US.UTF-8"}, ["Mit TaZEN verschlüsseln", "Mit TaZEN entschlüsseln"]),
    ({"LANGUAGE": "nl:sv_FI", "LANG": "de_DE.UTF-8"}, ["Kryptera med TaZEN", "Dekryptera med TaZEN"]),
    ({"LC_MESSAGES": "fr_CA.UTF-8@euro", "LANG": "de_DE.UTF-8"}, ["Chiffrer avec TaZEN", "Déchiffrer avec TaZEN"]),
    ({"LANGUAGE": ":", "LC_ALL": "es_ES.UTF-8", "LC_MESSAGES": "de_DE"}, ["Cifrar con TaZEN", "Descifrar con TaZEN"]),
    ({"LANG": "C"}, ["Encrypt with TaZEN", "Decrypt with TaZEN"]),
    ({"LANGUAGE": "POSIX:de"}, ["Encrypt with TaZEN", "Decrypt with TaZEN"]),
    ({"LANG": "pt_BR.UTF-8"}, ["Encrypt with TaZEN", "Decrypt with TaZEN"]),
]
for settings, wanted in languages:
    for name in ("LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"):
        os.environ.pop(name, None)
    os.environ.update(settings)
    items = extension.TaZENMenuProvider().get_file_items([chosen("/d/photos", folder=True)])
    labels = [item.properties["label"] for item in items]
    if labels != wanted:
        failures.append(f"with {settings} GNOME Files shows {labels}, not {wanted}")

for failure in failures:
    print("FAIL:", failure)
sys.exit(1 if failures else 0)
