# A stand-in for PyGObject, just enough to load a nautilus-python extension without GNOME Files.
def require_version(namespace, version):
    if namespace != "Nautilus" or version != "4.0":
        raise ValueError(f"{namespace} {version} is not available")
