#!/usr/bin/env python3
"""Checks the tree against the map of its layers.

The map is the fenced block marked `layers` in ARCHITECTURE.md: one line per
folder, bottom up,

    <folder>  <library> ... : <what its files may include> ...

where what a folder may include is named by folders (their public headers:
anything outside their internal/) or by single headers (used for their
declarations only). A line whose library is "-" builds none. A line may go on
over indented lines. Test folders (tests/...) need no line: they may include
what the folder they mirror may include, that folder itself with its
internal/, tests/support and their own and enclosing test folders; a line for
a test folder adds to that. A folder whose line says "*" may include anything.

Every #include "..." of every .h and .cpp file must then resolve to a file of
the tree and keep to the map. With --targets (the list the build writes: each
target's folder, sources and direct link libraries) the check also holds each
library to its folder, and its links to what its files include.

Exit status 0 when all holds; 1 with one line per broken rule, naming the
file and line; 2 when the map itself cannot be read.
"""
import argparse
import os
import re
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')
SOURCE_SUFFIXES = ('.h', '.hpp', '.cpp', '.cc')


class MapError(Exception):
    pass


class Row:
    def __init__(self, folder, targets, entries, line):
        self.folder = folder
        self.targets = targets
        self.entries = entries
        self.line = line

    @property
    def anything(self):
        return '*' in self.entries


def read_map(path):
    """The rows of the fenced `layers` block, in their order."""
    try:
        text = open(path, encoding='utf-8').read().splitlines()
    except OSError as e:
        raise MapError(f'{path}: {e.strerror}')
    start = next((i for i, l in enumerate(text) if l.strip() == '```layers'), None)
    if start is None:
        raise MapError(f'{path}: no ```layers block')
    rows, pending = [], None
    for n in range(start + 1, len(text)):
        raw = text[n]
        if raw.strip() == '```':
            break
        body = raw.split('#', 1)[0].rstrip()
        if not body.strip():
            continue
        if raw[0].isspace():
            if pending is None:
                raise MapError(f'{path}:{n + 1}: an indented line goes on from no folder')
            pending.entries += body.split()
            continue
        if ':' not in body:
            raise MapError(f'{path}:{n + 1}: no ":" after the folder and its library')
        head, tail = body.split(':', 1)
        words = head.split()
        folder = words[0].rstrip('/')
        targets = [w for w in words[1:] if w != '-']
        pending = Row(folder, targets, tail.split(), n + 1)
        rows.append(pending)
    else:
        raise MapError(f'{path}: the ```layers block does not end')
    return rows


def tree_files(root):
    """The source files of the tree: those git knows (tracked or not ignored)."""
    try:
        out = subprocess.run(['git', '-C', root, 'ls-files', '--cached', '--others', '--exclude-standard'],
                             capture_output=True, text=True, check=True).stdout.split('\n')
        files = [f for f in out if f and os.path.isfile(os.path.join(root, f))]
    except (OSError, subprocess.CalledProcessError):
        files = []
        for d, dirs, names in os.walk(root):
            dirs[:] = [x for x in dirs if not x.startswith(('.', 'build'))]
            files += [os.path.relpath(os.path.join(d, x), root) for x in names]
    # Fixtures are data for the tests, not code of the tree.
    return sorted(f for f in files if f.endswith(SOURCE_SUFFIXES) and not f.startswith('tests/fixtures/'))


def under(path, folder):
    return path == folder or path.startswith(folder + '/')


class Layers:
    def __init__(self, rows, root, files):
        self.rows = {r.folder: r for r in rows}
        self.order = [r.folder for r in rows]
        self.root = root
        self.files = set(files)
        self.problems = []

    def unit(self, path):
        """The folder of the map that holds `path` (the longest that does)."""
        best = None
        for folder in self.order:
            if under(path, folder) and (best is None or len(folder) > len(best)):
                best = folder
        return best

    def validate(self, path):
        """The map names only folders and files that exist, and points down."""
        for r in self.rows.values():
            if not os.path.isdir(os.path.join(self.root, r.folder)):
                raise MapError(f'{path}:{r.line}: {r.folder} is no folder of the tree')
            for e in r.entries:
                if e == '*':
                    continue
                if e.endswith(SOURCE_SUFFIXES):
                    if e not in self.files:
                        raise MapError(f'{path}:{r.line}: {r.folder} names {e}, which is no file of the tree')
                elif e not in self.rows:
                    raise MapError(f'{path}:{r.line}: {r.folder} names {e}, which has no line of its own')
        # A folder may name only folders above it in the map: then no cycle
        # can hide in it and "up" means what it says.
        seen = set()
        for folder in self.order:
            r = self.rows[folder]
            for e in r.entries:
                target = self.unit(e) if e.endswith(SOURCE_SUFFIXES) else e
                if e != '*' and target not in seen and target != folder and not folder.startswith('tests/'):
                    raise MapError(f'{path}:{r.line}: {folder} names {e}, which comes later in the map '
                                   f'(the map lists the layers bottom up)')
            seen.add(folder)

    def reaches(self, a, b):
        """Whether folder a may include folder b, directly or through others."""
        todo, seen = [a], set()
        while todo:
            f = todo.pop()
            if f == b:
                return True
            if f in seen or f not in self.rows:
                continue
            seen.add(f)
            todo += [self.unit(e) if e.endswith(SOURCE_SUFFIXES) else e for e in self.rows[f].entries if e != '*']
        return False

    def mirrored(self, test_folder):
        """The program folders a test folder tests: tests/x mirrors x, platform/x or the folders under x."""
        rest = test_folder[len('tests/'):]
        for cand in (rest, 'platform/' + rest):
            if cand in self.rows:
                return [cand]
            inner = [f for f in self.order if under(f, cand)]
            if inner:
                return inner
            u = self.unit(cand)
            if u and not u.startswith('tests/'):
                return [u]
        return []

    def resolve(self, src, name):
        if name in self.files or os.path.isfile(os.path.join(self.root, name)):
            return name
        near = os.path.normpath(os.path.join(os.path.dirname(src), name))
        if near in self.files or os.path.isfile(os.path.join(self.root, near)):
            return near
        return None

    def report(self, src, line, text):
        self.problems.append(f'{src}:{line}: {text}')

    def check_program_include(self, src, n, name, to, frm, row):
        target = self.unit(to)
        if target is None:
            self.report(src, n, f'includes {name}, which lies in no folder of the map')
            return
        if target == frm:
            return
        internal = '/internal/' in ('/' + os.path.relpath(to, target) + '/')
        if to in row.entries:
            return
        if target in row.entries and not internal:
            return
        if target in row.entries and internal:
            self.report(src, n, f'includes {name}: the headers in {target}/internal/ are for {target} alone')
            return
        if self.reaches(target, frm):
            why = f'it points up: {target} lies above {frm}'
        elif self.reaches(frm, target):
            why = f'{target} lies below, but the map does not give it to {frm}'
        else:
            why = f'it points sideways: neither of {frm} and {target} builds on the other'
        self.report(src, n, f'includes {name}: {frm} may not include {target} ({why})')

    def check_test_include(self, src, n, name, to, frm):
        test_dir = os.path.dirname(src)
        row = self.rows.get(frm)
        if row is not None and row.anything:
            return
        if to.startswith('tests/'):
            helper_dir = os.path.dirname(to)
            if under(to, 'tests/support') or under(test_dir, helper_dir) or \
                    (row is not None and any(under(to, e) for e in row.entries)):
                return
            self.report(src, n, f'includes {name}: a test uses the helpers of its own folder, of the folders '
                                f'around it and of tests/support; shared helpers belong in tests/support')
            return
        target = self.unit(to)
        if target is None:
            self.report(src, n, f'includes {name}, which lies in no folder of the map')
            return
        allowed = set()
        for m in self.mirrored(frm if row is not None else test_dir):
            allowed.add(m)
            allowed.update(self.unit(e) if e.endswith(SOURCE_SUFFIXES) else e for e in self.rows[m].entries)
        if row is not None:
            for e in row.entries:
                allowed.add(self.unit(e) if e.endswith(SOURCE_SUFFIXES) else e)
                # A folder the tests also stand on brings what it includes.
                if e in self.rows and not e.startswith('tests/'):
                    allowed.update(self.unit(x) if x.endswith(SOURCE_SUFFIXES) else x for x in self.rows[e].entries)
        if target not in allowed:
            tested = ', '.join(self.mirrored(frm if row is not None else test_dir)) or 'nothing'
            self.report(src, n, f'includes {name}: the tests of {tested} may not include {target}, which '
                                f'{tested} itself may not include (name it on the line of the test folder '
                                f'when the tests need it)')

    def check_includes(self):
        for src in sorted(self.files):
            frm = self.unit(src)
            in_tests = src.startswith(('tests/', 'bench/'))
            if frm is None and not in_tests:
                self.report(src, 1, 'lies in no folder of the map')
                continue
            try:
                lines = open(os.path.join(self.root, src), encoding='utf-8', errors='replace').read().splitlines()
            except OSError:
                continue
            for n, text in enumerate(lines, 1):
                m = INCLUDE.match(text)
                if not m:
                    continue
                name = m.group(1)
                to = self.resolve(src, name)
                if to is None:
                    self.report(src, n, f'includes {name}, which is no file of the tree')
                    continue
                if in_tests:
                    self.check_test_include(src, n, name, to, frm if frm and frm.startswith(('tests/', 'bench'))
                                            else None)
                else:
                    row = self.rows[frm]
                    if not row.anything:
                        self.check_program_include(src, n, name, to, frm, row)

    def check_targets(self, path):
        """Each library's sources in its folder; its links what its files include.

        The file has one line per target of the build: name, type, folder,
        sources and direct link libraries, tab-separated, lists by ";"."""
        owner = {}
        for r in self.rows.values():
            for t in r.targets:
                owner[t] = r.folder
        builds = {}
        for raw in open(path, encoding='utf-8').read().splitlines():
            if raw.strip():
                name, kind, folder, sources, links = (raw.split('\t') + [''] * 4)[:5]
                builds[name] = (kind, folder, [x for x in sources.split(';') if x], [x for x in links.split(';') if x])
        for t, folder in owner.items():
            if t not in builds:
                self.report('ARCHITECTURE.md', self.rows[folder].line, f'the map names {t}, which the build does not make')
        for name, (kind, folder, sources, links) in sorted(builds.items()):
            home = owner.get(name)
            if home is None:
                row = self.rows.get(self.unit(folder) or '')
                if row is not None and not row.anything and not folder.startswith(('tests/', 'bench')):
                    self.report(f'{folder}/CMakeLists.txt', 1, f'builds {name}, which the map does not name')
                continue
            row = self.rows[home]
            if row.anything:
                continue
            cmake = f'{folder}/CMakeLists.txt'
            libraries = [t for t in row.targets if builds.get(t, ('',))[0] not in ('EXECUTABLE', '')]
            if len(libraries) > 1 and name == libraries[1]:
                self.report(cmake, 1, f'{home} builds {len(libraries)} libraries ({", ".join(libraries)}): '
                                      f'give each a folder of its own')
            # What the target's files include: its sources, and for the
            # folder's library all the headers of the folder as well.
            mine = [x for x in sources if x.endswith(SOURCE_SUFFIXES)]
            for x in mine:
                if self.unit(x) != home:
                    self.report(cmake, 1, f'{name} compiles {x}, which lies outside {home}')
            if kind != 'EXECUTABLE':
                mine += [h for h in self.files if h.endswith(('.h', '.hpp')) and self.unit(h) == home]
            used = set()
            for f in mine:
                for text in self.lines(f):
                    m = INCLUDE.match(text)
                    to = m and self.resolve(f, m.group(1))
                    if to and self.unit(to) != home and to not in row.entries:
                        used.add(self.unit(to))
            linked = {owner[l]: l for l in links if l in owner}
            for folder_linked, lib in sorted(linked.items()):
                if folder_linked not in used and folder_linked != home:
                    self.report(cmake, 1, f'{name} links {lib}, but none of its files includes a header of '
                                          f'{folder_linked}')
            for u in sorted(x for x in used if x):
                libs = [t for t in self.rows[u].targets if builds.get(t, ('',))[0] != 'EXECUTABLE']
                if libs and not any(l in links for l in libs) and u in row.entries:
                    self.report(cmake, 1, f'{name} includes headers of {u} but does not link {" or ".join(libs)}')

    def lines(self, path):
        try:
            return open(os.path.join(self.root, path), encoding='utf-8', errors='replace').read().splitlines()
        except OSError:
            return []


def main():
    ap = argparse.ArgumentParser(description='Checks the includes (and links) of the tree against its map.')
    ap.add_argument('--root', default=os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap.add_argument('--map', help='the file with the ```layers block (default: ARCHITECTURE.md of the root)')
    ap.add_argument('--targets', help="the build's list of targets, their folders, sources and links")
    args = ap.parse_args()
    root = os.path.abspath(args.root)
    map_path = args.map or os.path.join(root, 'ARCHITECTURE.md')
    files = tree_files(root)
    try:
        layers = Layers(read_map(map_path), root, files)
        layers.validate(os.path.relpath(map_path, root) if map_path.startswith(root) else map_path)
    except MapError as e:
        print(f'layer map: {e}', file=sys.stderr)
        return 2
    layers.check_includes()
    if args.targets:
        layers.check_targets(args.targets)
    for p in layers.problems:
        print(p)
    if layers.problems:
        print(f'{len(layers.problems)} place(s) break the layer map ({os.path.relpath(map_path, root)})')
        return 1
    print(f'{len(files)} files keep to the layer map')
    return 0


if __name__ == '__main__':
    sys.exit(main())
