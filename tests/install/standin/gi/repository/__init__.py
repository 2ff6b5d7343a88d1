# GLib records what would be started; GObject and Nautilus give the classes an extension builds on.
from types import SimpleNamespace

spawned = []
GLib = SimpleNamespace(SpawnFlags=SimpleNamespace(DEFAULT=0), spawned=spawned,
                       spawn_async=lambda argv, flags=0: spawned.append(list(argv)))


class _Object:
    def __init__(self, **properties):
        self.properties, self.handlers = properties, {}

    def connect(self, signal, handler, *data):
        self.handlers[signal] = (handler, data)

    def emit(self, signal):
        handler, data = self.handlers[signal]
        handler(self, *data)


GObject = SimpleNamespace(GObject=_Object)
Nautilus = SimpleNamespace(MenuProvider=type("MenuProvider", (), {}), MenuItem=_Object)
