#!/usr/bin/env python3
"""Checks every #include in src/ and fuzz/ against the layering table in README.md.

The table (README, "Which folder may include which") names for each source folder the
folders it may include and the libraries whose headers it may use. A folder may always
include its own headers. Prints one line per forbidden include, naming file and line, and
exits with status 1 when there is any.

    check_layers.py [ROOT]     (ROOT defaults to the repository this script lives in)
"""
import os
import re
import sys

TABLE_HEADER = re.compile(r"^\|\s*folder\s*\|\s*may include\s*\|\s*libraries\s*\|", re.I)
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
SCANNED = ("src", "fuzz")

# The headers of the C++ standard library (and its C headers), plus the compiler's ABI
# header that every supported compiler brings.
STANDARD = set("""
algorithm any array atomic bit bitset cassert cctype cerrno cfenv cfloat charconv chrono
cinttypes climits clocale cmath codecvt compare complex concepts condition_variable
csetjmp csignal cstdarg cstddef cstdint cstdio cstdlib cstring ctime cuchar cwchar cwctype
deque exception execution filesystem format forward_list fstream functional future
initializer_list iomanip ios iosfwd iostream istream iterator limits list locale map memory
memory_resource mutex new numbers numeric optional ostream queue random ranges ratio regex
scoped_allocator set shared_mutex source_location span sstream stack stdexcept stop_token
streambuf string string_view syncstream system_error thread tuple type_traits typeindex
typeinfo unordered_map unordered_set utility valarray variant vector version cxxabi.h
""".split())

POSIX = set("""
unistd.h fcntl.h spawn.h signal.h dirent.h pthread.h dlfcn.h poll.h errno.h pwd.h
""".split())


def library_of(header):
    """The library an angle-bracket include belongs to, by the table's names."""
    if header in STANDARD:
        return "standard C++"
    if header.startswith("wx/"):
        return "wxWidgets"
    if header.startswith("SDL"):
        return "SDL2"
    if header.startswith(("gdk-pixbuf/", "glib", "gio/", "gobject/")):
        return "GdkPixbuf"
    if header.startswith("cairo"):
        return "cairo"
    if header.startswith("X11/"):
        return "X11"
    if header in ("expat.h", "expat_external.h"):
        return "expat"
    if header.startswith("libxml/"):
        return "libxml2"
    if header in POSIX or header.startswith(("sys/", "linux/")):
        return "POSIX"
    if header.lower() in ("windows.h", "shellapi.h", "shlwapi.h", "shlobj.h", "objbase.h",
                          "wincodec.h", "mmsystem.h", "winerror.h", "knownfolders.h"):
        return "Win32"
    return None


def names(cell):
    """The backticked names of a table cell, or the plain words when there are none."""
    quoted = re.findall(r"`([^`]+)`", cell)
    if quoted:
        return quoted
    return [word.strip() for word in cell.split(",") if word.strip() not in ("", "—", "-")]


def read_table(readme):
    rows = {}
    lines = open(readme, encoding="utf-8").read().splitlines()
    start = next((i for i, line in enumerate(lines) if TABLE_HEADER.match(line)), None)
    if start is None:
        sys.exit("check_layers: README.md has no table headed '| folder | may include | libraries |'")
    for line in lines[start + 2:]:
        if not line.startswith("|"):
            break
        cells = [cell.strip() for cell in line.strip().strip("|").split("|")]
        if len(cells) != 3:
            sys.exit("check_layers: malformed table row: " + line)
        folder = names(cells[0])[0]
        rows[folder] = (set(names(cells[1])), set(names(cells[2])))
    return rows


def check(root):
    rows = read_table(os.path.join(root, "README.md"))
    problems = []
    for top in SCANNED:
        for directory, _, files in sorted(os.walk(os.path.join(root, top))):
            folder = os.path.relpath(directory, root)
            sources = sorted(f for f in files if f.endswith((".h", ".cpp")))
            if not sources:
                continue
            if folder not in rows:
                problems.append("%s: the folder has sources but no row in README.md's table" % folder)
                continue
            may_include, libraries = rows[folder]
            own = folder[len("src/"):] if folder.startswith("src/") else folder
            for name in sources:
                path = os.path.join(folder, name)
                with open(os.path.join(root, path), encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if not match:
                            continue
                        kind, header = match.groups()
                        where = "%s:%d: #include %s" % (path, number, match.group(0).split("include", 1)[1].strip())
                        if kind == '"':
                            target = os.path.dirname(header)
                            if target in ("", own) or target in may_include:
                                continue
                            problems.append("%s: %s may not include folder %s" % (where, folder, target))
                        else:
                            library = library_of(header)
                            if library is None:
                                problems.append("%s: a header of no known library" % where)
                            elif library not in libraries:
                                problems.append("%s: %s may not use %s" % (where, folder, library))
    return problems


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    problems = check(os.path.abspath(root))
    for problem in problems:
        print(problem)
    if problems:
        print("%d include(s) break the layering in README.md" % len(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
