# GLib records what would be started; GObject and Nautilus give the classes an extension builds on.
import types

spawned = []


class SpawnFlags:
    DEFAULT = 0


def spawn_async(argv, flags=0):
    spawned.append(list(argv))
    return (True, 0)


GLib = types.SimpleNamespace(SpawnFlags=SpawnFlags, spawn_async=spawn_async, spawned=spawned)


class _Object:
    def __init__(self, **properties):
        self.properties = properties
        self.handlers = {}

    def connect(self, signal, handler, *data):
        self.handlers[signal] = (handler, data)

    def emit(self, signal):
        handler, data = self.handlers[signal]
        handler(self, *data)


class MenuProvider:
    pass


GObject = types.SimpleNamespace(GObject=_Object)
Nautilus = types.SimpleNamespace(MenuProvider=MenuProvider, MenuItem=_Object)
