#!/usr/bin/env python3
"""Mutation testing: how many planted faults does the test suite catch?

Plants one fault at a time in src/ (a flipped comparison, a moved boundary, a swapped logical or
arithmetic operator, swapped operands, a deleted statement, a changed constant, a wrong index),
rebuilds incrementally in its own build directory, runs the test programs that link the changed
code (cheapest first, stopping at the first failure) under a time limit, and reports per folder
how many faults were caught, followed by the survivors for review.

    python3 scripts/mutants.py --seed 1 --count 150
    python3 scripts/mutants.py --seed 1 --count 10 --folder tiling
    python3 scripts/mutants.py --seed 1 --count 150 --list      (the sample only, nothing built)
    python3 scripts/mutants.py --seed 1 --count 150 --first 40  (its first 40 faults only)
    python3 scripts/mutants.py --seed 1 --count 150 --part 1/2   (every other fault, from the
        first; run --part 2/2 in a second checkout at the same time to use both cores)
    python3 scripts/mutants.py --seed 1 --count 150 --save sample.jsonl   (keep the sample ...)
    python3 scripts/mutants.py --faults sample.jsonl       (... and run the same faults later,
        after the sources have moved on; a fault whose line moved is found by its text)

Every source file is restored after each fault, also on Ctrl-C or SIGTERM; a run that was killed
outright leaves a journal in the build directory, and the next run restores from it before
anything else. Git is never touched.
"""

import argparse
import contextlib
import fcntl
import hashlib
import json
import os
import random
import re
import resource
import shutil
import signal
import subprocess
import sys
import time
from dataclasses import dataclass

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
SRC = os.path.join(ROOT, "src")

# Outcomes. A fault is caught when a test fails or hangs; "unchanged" means the compiler produced
# the very same object code (the fault sits in code that is not compiled or is equivalent).
KILLED, TIMEOUT, SURVIVED, BUILD_ERROR, UNCHANGED = (
    "killed", "timeout", "survived", "build error", "unchanged")
OUTCOMES = (KILLED, TIMEOUT, SURVIVED, BUILD_ERROR, UNCHANGED)


class Interrupted(Exception):
    pass


def on_signal(signum, _frame):
    raise Interrupted(signal.Signals(signum).name)


STOP_SIGNALS = (signal.SIGINT, signal.SIGTERM, signal.SIGHUP)


@contextlib.contextmanager
def signals_held():
    """Holds Ctrl-C and friends back while a file is being written or put back; they are
    delivered as soon as the block ends."""
    old = signal.pthread_sigmask(signal.SIG_BLOCK, STOP_SIGNALS)
    try:
        yield
    finally:
        signal.pthread_sigmask(signal.SIG_SETMASK, old)


# ----------------------------------------------------------------------------------------------
# Finding places to plant faults

@dataclass(frozen=True)
class Mutant:
    path: str  # relative to the repository root
    line: int  # 1-based
    col: int  # 0-based, in the line
    old: str
    new: str
    kind: str

    @property
    def folder(self):
        return self.path.split("/")[1]

    def describe(self):
        return f"{self.path}:{self.line}  [{self.kind}] '{self.old.strip()}' -> '{self.new.strip()}'"


def mask_source(text):
    """Returns text with comments, string and character literals and preprocessor lines blanked
    (same length, newlines kept), so that patterns only see code that is compiled."""
    out = list(text)
    i, n = 0, len(text)
    at_line_start = True

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if c == "\n":
            at_line_start = True
            i += 1
            continue
        if at_line_start and c in " \t":
            i += 1
            continue
        if at_line_start and c == "#":
            j = i
            while j < n:  # a directive, with its backslash continuations
                e = text.find("\n", j)
                e = n if e < 0 else e
                if e > 0 and text[e - 1] == "\\":
                    j = e + 1
                    continue
                j = e
                break
            blank(i, j)
            i = j
            continue
        at_line_start = False
        if text.startswith("//", i):
            e = text.find("\n", i)
            e = n if e < 0 else e
            blank(i, e)
            i = e
        elif text.startswith("/*", i):
            e = text.find("*/", i + 2)
            e = n if e < 0 else e + 2
            blank(i, e)
            i = e
        elif c == "R" and text.startswith('"', i + 1) and (i == 0 or not (
                text[i - 1].isalnum() or text[i - 1] == "_")):
            p = text.find("(", i + 2)
            delim = text[i + 2:p]
            e = text.find(")" + delim + '"', p)
            e = n if e < 0 else e + len(delim) + 2
            blank(i, e)
            i = e
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator 1'000
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            blank(i, min(j + 1, n))
            i = j + 1
        else:
            i += 1
    return "".join(out)


NEGATE = {"==": "!=", "!=": "==", "<": ">=", ">": "<=", "<=": ">", ">=": "<"}
BOUNDARY = {"<": "<=", "<=": "<", ">": ">=", ">=": ">"}
ARITH = {"+": "-", "-": "+", "*": "/", "/": "*", "+=": "-=", "-=": "+=", "*=": "/=", "/=": "*="}
LOGIC = {"&&": "||", "||": "&&"}
CALL_SWAP = {"std::min": "std::max", "std::max": "std::min", "std::floor": "std::ceil",
             "std::ceil": "std::floor"}

BINARY_OP = re.compile(r"(?<=\S) (==|!=|<=|>=|<|>|&&|\|\||\+=|-=|\*=|/=|\+|-|\*|/) (?=\S)")
OPERAND = r"[A-Za-z_][\w.]*(?:\[[\w.]+\])?|\d[\w.]*"
SWAP = re.compile(r"(?<![\w.\]):>)])(" + OPERAND + r") ([-/]) (" + OPERAND + r")(?![\w(\[.:]|->)")
NOT = re.compile(r"(?<![\w)\]])!(?!=)")
INDEX = re.compile(r"(?<=[\w\])])\[(\w+)\]")
NUMBER = re.compile(r"(?<![\w.])(\d+\.\d*(?:[eE][-+]?\d+)?|\d+[eE][-+]?\d+|\d+)([fFuUlL]*)(?![\w.'])")
CALLS = re.compile(r"(?<![\w:])(std::min|std::max|std::floor|std::ceil)(?=\()")
ASSIGN = re.compile(r"^\s*[\w.\->\[\]():*]+ (=|\+=|-=|\*=|/=|\|=|&=|\^=|<<=|>>=) .*;\s*$")
CALL_STMT = re.compile(r"^\s*[\w.\->:\[\]]+\(.*\);\s*$")
SMALL_STMT = re.compile(r"^\s*(\+\+[\w.\->\[\]]+|[\w.\->\[\]]+\+\+|--[\w.\->\[\]]+|[\w.\->\[\]]+--|"
                        r"break|continue);\s*$")
SKIP_LINE = re.compile(r"\b(static_assert|Q_OBJECT|Q_PROPERTY|Q_ENUM|template|namespace|"
                       r"using|typedef|extern|operator)\b")
CONTROL_HEAD = re.compile(r"^\s*(if|for|while|switch|return|case|default|else|do|catch)\b")


def balanced(s):
    return s.count("(") == s.count(")") and s.count("[") == s.count("]") and \
        s.count("{") == s.count("}")


def number_change(text):
    if re.fullmatch(r"\d+", text):
        v = int(text)
        if len(text) > 1 and text.startswith("0"):
            return None  # octal
        return str(v + 1) if v != 1 else "0"
    v = float(text)
    w = 1.0 if v == 0 else v * 2
    s = repr(w)
    return s if ("." in s or "e" in s) else s + ".0"


def find_mutants_in(rel, text):
    masked = mask_source(text)
    lines = text.split("\n")
    mlines = masked.split("\n")
    found = []
    disabled_depth = 0
    prev_end = ";"
    for no, (raw, code) in enumerate(zip(lines, mlines), start=1):
        stripped = raw.strip()
        if stripped.startswith("#"):  # keep track of "#if 0" blocks
            d = stripped[1:].strip()
            if disabled_depth:
                if d.startswith("if"):
                    disabled_depth += 1
                elif d.startswith("endif") or (disabled_depth == 1 and d.startswith(("else", "elif"))):
                    disabled_depth -= 1
            elif re.fullmatch(r"if\s+0\b.*", d):
                disabled_depth = 1
            continue
        if disabled_depth or not code.strip():
            continue
        this_prev_end, prev_end = prev_end, code.rstrip()[-1:]
        if SKIP_LINE.search(code):
            continue

        def add(col, old, new, kind):
            found.append(Mutant(rel, no, col, old, new, kind))

        for m in BINARY_OP.finditer(code):
            op = m.group(1)
            col = m.start(1)
            if op in NEGATE:
                add(col, op, NEGATE[op], "comparison")
            if op in BOUNDARY:
                add(col, op, BOUNDARY[op], "boundary")
            if op in LOGIC:
                add(col, op, LOGIC[op], "logic")
            if op in ARITH:
                add(col, op, ARITH[op], "arithmetic")
        for m in NOT.finditer(code):
            add(m.start(), "!", "", "logic")
        for m in CALLS.finditer(code):
            add(m.start(1), m.group(1), CALL_SWAP[m.group(1)], "arithmetic")
        for m in SWAP.finditer(code):
            a, op, b = m.group(1), m.group(2), m.group(3)
            if a != b and not re.fullmatch(r"\d[\w.]*", a + b):
                add(m.start(1), f"{a} {op} {b}", f"{b} {op} {a}", "swap")
        for m in INDEX.finditer(code):
            if re.match(r"\s*(=\s*)?[{;]", code[m.end():]):
                continue  # the size of an array being declared
            k = m.group(1)
            if k.isdigit():
                new = "1" if k == "0" else str(int(k) - 1)
            elif re.fullmatch(r"[A-Za-z_]\w*", k):
                new = "0"
            else:
                continue
            add(m.start(1), k, new, "index")
        for m in NUMBER.finditer(code):
            before = code[:m.start()].rstrip()
            after = code[m.end():].lstrip()
            if before.endswith(("[", "<")) or after.startswith(">") or \
                    code[:m.start()].endswith(("0x", "0X")):
                continue
            new = number_change(m.group(1))
            if new is not None:
                add(m.start(1), m.group(1), new, "constant")
        statement_start = this_prev_end in (";", "{", "}", ":", ")") or \
            code.rstrip().startswith("else")
        body = code.strip()
        if statement_start and balanced(body) and not CONTROL_HEAD.match(code) and (
                ASSIGN.match(code) or CALL_STMT.match(code) or SMALL_STMT.match(code)):
            if body.endswith(";") and body.count(";") == 1:
                col = len(code) - len(code.lstrip())
                add(col, raw[col:col + len(body)], "{}", "delete")
    return found


def source_files():
    files = []
    for dirpath, _dirs, names in os.walk(SRC):
        for name in names:
            if name.endswith((".cpp", ".h")):
                files.append(os.path.relpath(os.path.join(dirpath, name), ROOT))
    return sorted(files)


def all_mutants(folders):
    result = []
    for rel in source_files():
        if folders and rel.split("/")[1] not in folders:
            continue
        with open(os.path.join(ROOT, rel), encoding="utf-8") as f:
            result.extend(find_mutants_in(rel, f.read()))
    return result


def save_faults(chosen, path):
    """Writes the faults one JSON object per line, each with the text of its line, so that
    load_faults can find it again after lines above it were added or removed."""
    texts = {}
    with open(path, "w", encoding="utf-8") as f:
        for m in chosen:
            if m.path not in texts:
                with open(os.path.join(ROOT, m.path), encoding="utf-8") as src:
                    texts[m.path] = src.read().split("\n")
            f.write(json.dumps({"path": m.path, "line": m.line, "col": m.col, "old": m.old,
                                "new": m.new, "kind": m.kind,
                                "text": texts[m.path][m.line - 1]}) + "\n")


def load_faults(path):
    """Reads faults saved by save_faults. Each is planted where its line's text is now: at the
    same line if it still reads the same, otherwise at the nearest line that does. Faults whose
    line is gone, or no longer holds the text to replace, are reported and left out."""
    found, lost, texts = [], [], {}
    with open(path, encoding="utf-8") as f:
        for raw in f:
            if not raw.strip():
                continue
            d = json.loads(raw)
            full = os.path.join(ROOT, d["path"])
            if d["path"] not in texts:
                try:
                    with open(full, encoding="utf-8") as src:
                        texts[d["path"]] = src.read().split("\n")
                except OSError:
                    texts[d["path"]] = []
            lines = texts[d["path"]]
            at = [i + 1 for i, t in enumerate(lines) if t == d["text"]]
            m = Mutant(d["path"], d["line"], d["col"], d["old"], d["new"], d["kind"])
            if not at or lines[at[0] - 1][d["col"]:d["col"] + len(d["old"])] != d["old"]:
                lost.append(m)
                continue
            found.append(Mutant(d["path"], min(at, key=lambda n: abs(n - d["line"])), d["col"],
                                d["old"], d["new"], d["kind"]))
    for m in lost:
        print(f"mutants: left out, its line is gone: {m.describe()}", file=sys.stderr)
    return found


def sample(mutants, count, seed):
    """A reproducible sample, spread over folders in proportion to their places (at least one
    from each folder while the count allows)."""
    rng = random.Random(seed)
    by_folder = {}
    for m in mutants:
        by_folder.setdefault(m.folder, []).append(m)
    folders = sorted(by_folder)
    count = min(count, len(mutants))
    share = {f: 0 for f in folders}
    if count >= len(folders):
        for f in folders:
            share[f] = 1
    rest = count - sum(share.values())
    total = len(mutants)
    exact = {f: rest * len(by_folder[f]) / total for f in folders}
    for f in folders:
        share[f] += int(exact[f])
    left = count - sum(share.values())
    for f in sorted(folders, key=lambda f: (int(exact[f]) - exact[f], f))[:left]:
        share[f] += 1
    chosen = []
    for f in folders:
        chosen.extend(rng.sample(by_folder[f], min(share[f], len(by_folder[f]))))
    rng.shuffle(chosen)
    return chosen


def apply(text, m):
    lines = text.split("\n")
    line = lines[m.line - 1]
    assert line[m.col:m.col + len(m.old)] == m.old, m
    lines[m.line - 1] = line[:m.col] + m.new + line[m.col + len(m.old):]
    return "\n".join(lines)


# ----------------------------------------------------------------------------------------------
# Keeping the sources safe

def sha(data):
    return hashlib.sha256(data).hexdigest()


class Planter:
    """Writes one fault at a time, with a backup and a journal in the build directory, so the
    original comes back whatever happens."""

    def __init__(self, build):
        self.dir = os.path.join(build, "mutants-state")
        self.journal = os.path.join(self.dir, "journal.json")
        self.backup = os.path.join(self.dir, "original")

    def recover(self, forget_objects):
        """Puts back a file left mutated by a run that was killed outright."""
        if not os.path.exists(self.journal):
            return
        with open(self.journal, encoding="utf-8") as f:
            j = json.load(f)
        path = os.path.join(ROOT, j["path"])
        with open(path, "rb") as f:
            current = sha(f.read())
        if current == j["mutant"]:
            with open(self.backup, "rb") as f:
                original = f.read()
            if sha(original) != j["original"]:
                sys.exit(f"mutants: the backup of {j['path']} in {self.dir} is damaged; "
                         f"restore the file by hand (git diff shows the planted fault)")
            self._write(path, original, j["mtime"])
            print(f"mutants: restored {j['path']} left mutated by an interrupted run")
        elif current != j["original"]:
            sys.exit(f"mutants: {j['path']} was left mutated by an interrupted run and has been "
                     f"edited since; compare it with the backup {self.backup}, then delete "
                     f"{self.journal}")
        forget_objects(j["objects"])
        os.remove(self.journal)

    def plant(self, m, objects):
        path = os.path.join(ROOT, m.path)
        with open(path, "rb") as f:
            original = f.read()
        mutated = apply(original.decode("utf-8"), m).encode("utf-8")
        st = os.stat(path)
        os.makedirs(self.dir, exist_ok=True)
        with open(self.backup, "wb") as f:
            f.write(original)
            f.flush()
            os.fsync(f.fileno())
        tmp = self.journal + ".tmp"
        with open(tmp, "w", encoding="utf-8") as f:
            json.dump({"path": m.path, "original": sha(original), "mutant": sha(mutated),
                       "mtime": st.st_mtime_ns, "objects": objects}, f)
            f.flush()
            os.fsync(f.fileno())
        self.original = original
        self.mtime = st.st_mtime_ns
        os.replace(tmp, self.journal)
        with open(path, "wb") as f:
            f.write(mutated)

    def restore(self, m, forget_objects, objects):
        if not os.path.exists(self.journal):
            return  # stopped before anything was written
        path = os.path.join(ROOT, m.path)
        self._write(path, self.original, self.mtime)
        forget_objects(objects)
        os.remove(self.journal)

    @staticmethod
    def _write(path, data, mtime_ns):
        # Written in place (keeping the inode and mode), then given its old time back so that
        # other build directories see no change.
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, ns=(mtime_ns, mtime_ns))


# ----------------------------------------------------------------------------------------------
# Building and testing

class Build:
    def __init__(self, path, jobs):
        self.path = path
        self.jobs = jobs
        self.env = dict(os.environ)
        self.env.setdefault("QT_QPA_PLATFORM", "offscreen")
        self.env["GTEST_FAIL_FAST"] = "1"
        self.env["GTEST_BRIEF"] = "1"

    def ninja(self, targets, quiet=True, readonly_cache=False):
        env = dict(self.env)
        if readonly_cache:
            env["CCACHE_READONLY"] = "1"  # faults are not worth keeping in the cache
        r = subprocess.run(["ninja", "-C", self.path, f"-j{self.jobs}", *targets], env=env,
                           stdout=subprocess.PIPE if quiet else None, stderr=subprocess.STDOUT,
                           text=True)
        return r.returncode == 0, r.stdout or ""

    def configure(self):
        args = ["cmake", "-S", ROOT, "-B", self.path, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release"]
        if shutil.which("ccache"):
            args.append("-DCMAKE_CXX_COMPILER_LAUNCHER=ccache")
            self.env.setdefault("CCACHE_BASEDIR", ROOT)
        subprocess.run(args, check=True, stdout=subprocess.DEVNULL, env=self.env)

    def tool(self, *args):
        return subprocess.run(["ninja", "-C", self.path, "-t", *args], check=True, text=True,
                              stdout=subprocess.PIPE, env=self.env).stdout

    def test_programs(self):
        progs = []
        for line in self.tool("targets", "all").splitlines():
            target, _, rule = line.partition(": ")
            if target.startswith("tests/") and "EXECUTABLE_LINKER" in rule:
                progs.append(target)
        return sorted(progs)

    def objects_of(self, target):
        objs = []
        for line in self.tool("commands", target).splitlines():
            m = re.search(r" -o (\S+\.o) -c ", line)
            if m:
                objs.append(m.group(1))
        return objs

    def header_deps(self):
        """Object -> the source files (absolute) it was compiled from, headers included."""
        deps, current = {}, None
        for line in self.tool("deps").splitlines():
            if line and not line.startswith(" "):
                current = line.split(":")[0]
                deps[current] = set()
            elif line.strip() and current:
                deps[current].add(os.path.normpath(os.path.join(self.path, line.strip())))
        return deps

    def run(self, program, limit):
        start = time.monotonic()
        p = subprocess.Popen([os.path.join(self.path, program)], cwd=self.path, env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             start_new_session=True)
        try:
            code = p.wait(timeout=limit)
        except subprocess.TimeoutExpired:
            code = None
        finally:
            if p.poll() is None or code is None:
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                p.wait()
            else:  # the program is done; end anything it left running
                try:
                    os.killpg(p.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
        return code, time.monotonic() - start


def file_hash(path):
    try:
        with open(path, "rb") as f:
            return sha(f.read())
    except FileNotFoundError:
        return None


class Runner:
    def __init__(self, build, factor):
        self.b = build
        self.factor = factor

    def prepare(self):
        b = self.b
        print(f"mutants: building the suite in {os.path.relpath(b.path, ROOT)} ...", flush=True)
        b.configure()
        self.programs = b.test_programs()
        ok, out = b.ninja(self.programs)
        if not ok:
            sys.exit("mutants: the unmutated build fails:\n" + out[-4000:])
        deps = b.header_deps()
        self.objects = {p: b.objects_of(p) for p in self.programs}
        self.seen_by = {}  # source file -> objects compiled from it
        for objs in self.objects.values():
            for o in objs:
                for src in deps.get(o, ()):
                    if src.startswith(SRC + os.sep):
                        self.seen_by.setdefault(src, set()).add(o)
        # The unmutated object code, to tell faults the compiler makes no difference for.
        self.hashes = {o: file_hash(os.path.join(b.path, o))
                       for objs in self.objects.values() for o in objs}
        self.baseline = {}
        for p in self.programs:
            code, secs = b.run(p, 1800)
            if code != 0:
                sys.exit(f"mutants: {p} fails before any fault is planted; mend the suite first")
            self.baseline[p] = secs
        print("mutants: baseline " + ", ".join(
            f"{os.path.basename(p)} {s:.1f}s" for p, s in self.baseline.items()), flush=True)

    def forget(self, objects):
        # The restored file keeps its old time, so its objects are removed to be rebuilt.
        for o in objects:
            try:
                os.remove(os.path.join(self.b.path, o))
            except FileNotFoundError:
                pass

    def plan(self, m):
        """The objects compiled from the file and the programs that link them, the program of
        the fault's own folder first, then the quickest."""
        objs = sorted(self.seen_by.get(os.path.join(ROOT, m.path), ()))
        progs = [p for p in self.programs if set(self.objects[p]) & set(objs)]
        own = f"tests/{m.folder}_tests"
        progs.sort(key=lambda p: (p != own, self.baseline[p]))
        return objs, progs

    @contextlib.contextmanager
    def clock(self, what):
        """Adds the CPU time of the processes finished inside the block (compilers, linkers,
        tests) to self.cpu[what]: on a busy machine wall time says little."""
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        try:
            yield
        finally:
            after = resource.getrusage(resource.RUSAGE_CHILDREN)
            self.cpu[what] += (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

    def limit(self, program):
        return max(10.0, self.factor * self.baseline[program] + 5.0)

    def test(self, m, planter):
        """Returns (outcome, detail, wall seconds, CPU seconds building, CPU seconds testing)."""
        self.cpu = {"build": 0.0, "test": 0.0}
        outcome, detail, secs = self._test(m, planter)
        return outcome, detail, secs, self.cpu["build"], self.cpu["test"]

    def _test(self, m, planter):
        objs, progs = self.plan(m)
        if not objs:
            return UNCHANGED, "no test program compiles this file", 0.0
        start = time.monotonic()

        def unchanged():
            return all(file_hash(os.path.join(self.b.path, o)) == self.hashes[o] for o in objs)

        try:
            with signals_held():
                planter.plant(m, objs)
            if not m.path.endswith(".h"):
                # A source file is compiled first: a fault that does not build or leaves the
                # object code as it was costs no linking and no testing. A header's objects are
                # built program by program, so that a fault caught early compiles few of them.
                with self.clock("build"):
                    ok, out = self.b.ninja(objs, readonly_cache=True)
                if not ok:
                    return BUILD_ERROR, first_error(out), time.monotonic() - start
                if unchanged():
                    return UNCHANGED, "same object code", time.monotonic() - start
            for p in progs:
                with self.clock("build"):
                    ok, out = self.b.ninja([p], readonly_cache=True)
                if not ok:
                    return BUILD_ERROR, first_error(out), time.monotonic() - start
                with self.clock("test"):
                    code, _ = self.b.run(p, self.limit(p))
                if code is None:
                    return TIMEOUT, os.path.basename(p), time.monotonic() - start
                if code != 0:
                    return KILLED, os.path.basename(p), time.monotonic() - start
            if unchanged():
                return UNCHANGED, "same object code", time.monotonic() - start
            return SURVIVED, " ".join(os.path.basename(p) for p in progs), \
                time.monotonic() - start
        finally:
            with signals_held():
                planter.restore(m, self.forget, objs)


def first_error(out):
    for line in out.splitlines():
        if "error" in line:
            return line.strip()[:160]
    return "build failed"


# ----------------------------------------------------------------------------------------------
# Report

def report(results, elapsed, out):
    folders = sorted({m.folder for m, *_ in results})
    w = max([len(f) for f in folders] + [6])
    head = f"{'folder':<{w}}  {'faults':>6}  " + "  ".join(f"{o:>11}" for o in OUTCOMES) + \
        "  caught"
    lines = [head, "-" * len(head)]

    def row(name, rs):
        n = {o: sum(1 for r in rs if r[1] == o) for o in OUTCOMES}
        judged = n[KILLED] + n[TIMEOUT] + n[SURVIVED]
        rate = f"{100.0 * (n[KILLED] + n[TIMEOUT]) / judged:5.1f}%" if judged else "    -"
        return f"{name:<{w}}  {len(rs):>6}  " + "  ".join(f"{n[o]:>11}" for o in OUTCOMES) + \
            f"  {rate}"

    for f in folders:
        lines.append(row(f, [r for r in results if r[0].folder == f]))
    lines.append("-" * len(head))
    lines.append(row("all", results))
    lines.append("caught = (killed + timeout) / (killed + timeout + survived)")
    if results:
        n = len(results)
        build_cpu = sum(r[4] for r in results) / n
        test_cpu = sum(r[5] for r in results) / n
        lines.append(f"{n} faults in {elapsed / 60:.1f} min: {elapsed / n:.1f} s per fault "
                     f"(150 faults: about {150 * elapsed / n / 60:.0f} min at this load)")
        lines.append(f"CPU per fault: {build_cpu:.1f} s building, {test_cpu:.1f} s testing "
                     f"(150 faults on an idle machine: about "
                     f"{150 * (build_cpu + test_cpu) / 60:.0f} min)")
    survivors = [r for r in results if r[1] == SURVIVED]
    if survivors:
        lines.append("")
        lines.append("Survivors (no test noticed these):")
        for r in sorted(survivors, key=lambda r: (r[0].path, r[0].line)):
            lines.append(f"  {r[0].describe()}")
    text = "\n".join(lines)
    print("\n" + text)
    with open(out, "w", encoding="utf-8") as f:
        f.write(text + "\n\nAll faults:\n")
        for m, o, detail, secs, build_cpu, test_cpu in results:
            f.write(f"  {o:<11} {secs:6.1f}s (CPU {build_cpu:5.1f}s + {test_cpu:5.1f}s)  "
                    f"{m.describe()}  ({detail})\n")
    print(f"\nmutants: the full list is in {os.path.relpath(out, ROOT)}")


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--seed", type=int, default=1, help="sample seed (default 1)")
    ap.add_argument("--count", type=int, default=150, help="number of faults (default 150)")
    ap.add_argument("--folder", action="append", default=[],
                    help="only faults in src/FOLDER (may be repeated)")
    ap.add_argument("--build", default=os.path.join(ROOT, "build-mutants"),
                    help="build directory (default build-mutants)")
    ap.add_argument("--jobs", type=int, default=2, help="build jobs (default 2)")
    ap.add_argument("--timeout-factor", type=float, default=3.0,
                    help="a test program may take this many times its unmutated time, "
                         "plus 5 s (at least 10 s) before it counts as hung (default 3)")
    ap.add_argument("--first", type=int, default=0,
                    help="only the first N faults of the sample: the sample is shuffled, so they "
                         "are a fair part of it, and the same seed and count give the same ones")
    ap.add_argument("--from", dest="start", type=int, default=1,
                    help="start at the sample's K-th fault (to finish a run that was stopped; "
                         "before --part)")
    ap.add_argument("--part", default="1/1",
                    help="K/N: only faults K, K+N, K+2N ... of the sample, so that N checkouts "
                         "can share one sample (default 1/1)")
    ap.add_argument("--list", action="store_true", help="print the sample and stop")
    ap.add_argument("--save", metavar="FILE",
                    help="write the sample to FILE (JSON lines) and stop")
    ap.add_argument("--faults", metavar="FILE",
                    help="run the faults saved in FILE by --save instead of a new sample")
    args = ap.parse_args()

    # One run at a time per source tree: the lock is on src/ itself, whatever the build folder.
    lock = os.open(SRC, os.O_RDONLY)
    try:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
    except BlockingIOError:
        sys.exit("mutants: another run is planting faults in this src/; wait for it to end")
    for s in STOP_SIGNALS:
        signal.signal(s, on_signal)
    build = Build(os.path.abspath(args.build), args.jobs)
    runner = Runner(build, args.timeout_factor)
    planter = Planter(build.path)
    planter.recover(runner.forget)  # first of all, before the sources are read

    folders = {f.strip("/").split("/")[-1] for f in args.folder}
    if args.faults:
        chosen = [m for m in load_faults(args.faults) if not folders or m.folder in folders]
        mutants = chosen
    else:
        mutants = all_mutants(folders)
        chosen = sample(mutants, args.count, args.seed)
    if not mutants:
        sys.exit("mutants: no place for a fault in the chosen folders")
    if args.first > 0:
        chosen = chosen[:args.first]
    chosen = chosen[max(args.start, 1) - 1:]
    try:
        part, parts = (int(v) for v in args.part.split("/"))
        if not 1 <= part <= parts:
            raise ValueError
    except ValueError:
        sys.exit(f"mutants: --part wants K/N with 1 <= K <= N, not {args.part}")
    chosen = chosen[part - 1::parts]
    if args.save:
        save_faults(chosen, args.save)
        print(f"mutants: {len(chosen)} faults written to {args.save}")
        return
    if args.list:
        for m in chosen:
            print(m.describe())
        print(f"{len(chosen)} of {len(mutants)} places")
        return

    results = []
    start = time.monotonic()
    try:
        runner.prepare()
        start = time.monotonic()
        for i, m in enumerate(chosen, start=1):
            outcome, detail, secs, cpu_build, cpu_test = runner.test(m, planter)
            results.append((m, outcome, detail, secs, cpu_build, cpu_test))
            print(f"[{i}/{len(chosen)}] {outcome:<11} {secs:5.1f}s (CPU {cpu_build:.1f}s + "
                  f"{cpu_test:.1f}s)  {m.describe()}  ({detail})", flush=True)
    except Interrupted as e:
        print(f"\nmutants: stopped by {e}; every file is restored", file=sys.stderr)
        if results:
            report(results, time.monotonic() - start,
                   os.path.join(build.path, "mutants-report.txt"))
        sys.exit(130)
    report(results, time.monotonic() - start, os.path.join(build.path, "mutants-report.txt"))


if __name__ == "__main__":
    main()
