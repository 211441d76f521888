#!/usr/bin/env python3
"""Every header each layer's sources reach, directly or through other
headers, as the compiler itself finds them, against what the layer may
reach. A leak is a failure that names the source, the header and the rule.

usage: check-layers.py SOURCE_DIR BUILD_DIR LINKS_FILE

LINKS_FILE has a line TARGET=LIB;LIB;... a layer target, naming the
libraries it links itself.
"""

import json
import pathlib
import re
import shlex
import subprocess
import sys

QT = re.compile(r"/qt6/|/Qt[A-Za-z]+/")
WINDOW_SYSTEM = re.compile(r"/include/(X11|xcb|GL|EGL|wayland[^/]*)/")
PLAYER_CORE = re.compile(r"/include/mpv/")

# (layer folder under src, folders inside it left to their own rules, rules);
# a rule is (what it keeps out, a pattern over the reached header's path).
# Source-tree headers are matched by their path from src/.
LAYERS = [
    ("core", [], [
        ("any other layer", re.compile(r"^(?!/|core/)")),
        ("Qt", QT),
    ]),
    ("movie", [], [
        ("the media service", re.compile(r"^mci/")),
        ("the window logic", re.compile(r"^ui/")),
        ("Qt", QT),
    ]),
    ("mci", [], [
        ("its own client, the movie control", re.compile(r"^movie/")),
        ("the window logic", re.compile(r"^ui/")),
        ("the clip", re.compile(r"^clip/")),
        ("Qt", QT),
    ]),
    ("clip", [], [
        ("a window system", WINDOW_SYSTEM),
        ("Qt", QT),
        ("the window logic", re.compile(r"^ui/")),
        ("the media service", re.compile(r"^(mci|movie)/")),
    ]),
    ("ui", ["ui/qt"], [
        ("Qt", QT),
        ("the Qt toolkit's own code", re.compile(r"^ui/qt/")),
        ("the POSIX clip files", re.compile(r"^clip/Posix")),
        ("the media service", re.compile(r"^mci/")),
        ("a window system", WINDOW_SYSTEM),
        ("the player core", PLAYER_CORE),
    ]),
]

# Sources that must not call the file system themselves: what they read and
# write comes in through ClipFiles.
DIRECT_POSIX = re.compile(r'#\s*include\s*<(unistd|fcntl|sys/stat)\.h>')
NO_DIRECT_POSIX = [("clip", re.compile(r"^clip/Posix"))]

# Headers whose includers must not be handed what they hide.
HEADERS = [
    ("mci/mpv/MpvPlayer.h", [
        ("the timeline", re.compile(r"^mci/timeline/")),
        ("<future>", re.compile(r"/future$")),
    ]),
]


# What each layer's target may not link, itself or through the layer targets
# it links.
LINKS = {
    "trelvane_ui": ["trelvane_clip_posix", "trelvane_ui_qt", "trelvane_mci", "trelvane_mpv",
                    "trelvane_timeline", "Qt6::", "PkgConfig::"],
    "trelvane_clip": ["trelvane_clip_posix", "trelvane_ui", "Qt6::", "PkgConfig::"],
    "trelvane_mci": ["trelvane_movie", "trelvane_ui", "trelvane_clip", "Qt6::"],
    "trelvane_movie": ["trelvane_mci", "trelvane_ui", "Qt6::", "PkgConfig::"],
    "trelvane_core": ["trelvane_", "Qt6::", "PkgConfig::"],
}


def link_leaks(path):
    direct = {}
    for line in pathlib.Path(path).read_text().splitlines():
        target, _, libraries = line.partition("=")
        direct[target] = [lib for lib in libraries.split(";") if lib]
    leaks = []
    for target, kept_out in LINKS.items():
        if target not in direct:
            sys.exit(f"{target} is not among the layer targets of {path}")
        closure, queue = set(), list(direct[target])
        while queue:
            library = queue.pop()
            if library not in closure:
                closure.add(library)
                queue.extend(direct.get(library, []))
        for library in sorted(closure):
            for prefix in kept_out:
                if library.startswith(prefix):
                    leaks.append(f"{target} links {library}")
    return leaks


def reached(entry, source_root, stdin=None):
    """The headers a compile command's source reaches, by the compiler's -M."""
    command, directory = entry
    args = shlex.split(command)
    if pathlib.Path(args[0]).name == "ccache":
        args = args[1:]
    kept = []
    skip = False
    for arg in args:
        if skip:
            skip = False
            continue
        if arg in ("-o", "-MF", "-MT", "-MQ"):
            skip = True
            continue
        if arg in ("-c", "-MD", "-MMD"):
            continue
        kept.append(arg)
    if stdin is not None:
        kept = [a for a in kept if not a.endswith(".cpp")] + ["-x", "c++", "-"]
    result = subprocess.run(kept + ["-M"], input=stdin, capture_output=True, text=True,
                            cwd=directory)
    if result.returncode != 0:
        sys.exit(f"the compiler failed on {command}:\n{result.stderr}")
    paths = result.stdout.replace("\\\n", " ").split(":", 1)[1].split()
    headers = []
    for path in paths[1:] if stdin is None else paths:
        resolved = pathlib.Path(path).resolve()
        try:
            headers.append(resolved.relative_to(source_root).as_posix())
        except ValueError:
            headers.append(resolved.as_posix())
    return headers


def main():
    source_root = pathlib.Path(sys.argv[1]).resolve() / "src"
    entries = json.loads((pathlib.Path(sys.argv[2]) / "compile_commands.json").read_text())
    leaks = link_leaks(sys.argv[3])
    checked = 0
    by_source = {}
    for entry in entries:
        path = pathlib.Path(entry["file"]).resolve()
        try:
            name = path.relative_to(source_root).as_posix()
        except ValueError:
            continue
        # Ninja writes one command line, other generators its arguments.
        by_source[name] = (entry.get("command") or shlex.join(entry["arguments"]),
                           entry["directory"])

    for layer, exempt, rules in LAYERS:
        sources = [(name, command) for name, command in sorted(by_source.items())
                   if name.startswith(layer + "/")
                   and not any(name.startswith(e + "/") for e in exempt)]
        if not sources:
            sys.exit(f"no sources of src/{layer} among the build's: a check of nothing")
        for name, command in sources:
            checked += 1
            headers = reached(command, source_root)
            for what, pattern in rules:
                # The first header of each kind: the rest come through it.
                found = next((h for h in headers if pattern.search(h)), None)
                if found:
                    leaks.append(f"src/{name} reaches {found}: {layer} keeps out {what}")

    for layer, allowed in NO_DIRECT_POSIX:
        for file in sorted((source_root / layer).glob("*.*")):
            name = file.relative_to(source_root).as_posix()
            if not allowed.search(name) and DIRECT_POSIX.search(file.read_text()):
                leaks.append(f"src/{name} calls the file system itself: {layer} reads and "
                             "writes through ClipFiles")

    for header, rules in HEADERS:
        implementation = header.replace(".h", ".cpp")
        headers = reached(by_source[implementation], source_root, stdin=f'#include "{header}"\n')
        for what, pattern in rules:
            found = next((h for h in headers if pattern.search(h)), None)
            if found:
                leaks.append(f"src/{header} hands its includers {found}: it hides {what}")
        checked += 1

    for leak in leaks:
        print(leak)
    print(f"{checked} sources and headers checked, {len(leaks)} leaks")
    sys.exit(1 if leaks else 0)


if __name__ == "__main__":
    main()
