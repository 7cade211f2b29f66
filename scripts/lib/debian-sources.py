#!/usr/bin/env python3
"""Prints a deb822 list of Debian's source packages that mirrors the machine's
own configured Debian sources: the same URIs, suites, components and keyring,
as `Types: deb-src`. The bootstrap needs one source package (xz-utils) and
follows whatever mirror the machine uses, so no host is written down here.

Reads `apt-get indextargets` (every binary index apt knows, with the entry of
the sources file it came from). Exits 1 when apt knows no Debian index.
"""
import collections
import subprocess
import sys


def records(text):
    """The blank-line separated `Key: value` records of apt's output."""
    record = {}
    for line in text.splitlines():
        if not line.strip():
            if record:
                yield record
            record = {}
        elif ":" in line and not line[0].isspace():
            key, _, value = line.partition(":")
            record[key.strip().lower()] = value.strip()
    if record:
        yield record


def deb822_stanzas(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return list(records("\n".join(l for l in f.read().splitlines() if not l.lstrip().startswith("#"))))


def signed_by(entry):
    """The keyring the sources entry `FILE:N` names, or None."""
    path, _, number = entry.rpartition(":")
    try:
        index = int(number) - 1
        if path.endswith(".sources"):
            stanzas = deb822_stanzas(path)
            return stanzas[index].get("signed-by") if 0 <= index < len(stanzas) else None
        with open(path, encoding="utf-8", errors="replace") as f:
            line = f.read().splitlines()[index]
    except (OSError, ValueError, IndexError):
        return None
    # One-line style: deb [signed-by=KEYRING other=...] URI SUITE COMPONENTS
    if "[" in line and "]" in line:
        for option in line[line.index("[") + 1 : line.index("]")].split():
            key, _, value = option.partition("=")
            if key == "signed-by":
                return value
    return None


def main():
    out = subprocess.run(["apt-get", "indextargets", "Created-By: Packages"],
                         check=True, capture_output=True, text=True).stdout
    repos = collections.OrderedDict()
    for target in records(out):
        if target.get("origin") != "Debian" or "repo-uri" not in target:
            continue
        repo = repos.setdefault(target["repo-uri"].rstrip("/"),
                                {"suites": [], "components": [], "keyring": None})
        for key, value in (("suites", target.get("release")), ("components", target.get("component"))):
            if value and value not in repo[key]:
                repo[key].append(value)
        repo["keyring"] = repo["keyring"] or signed_by(target.get("sourcesentry", ""))
    if not repos:
        print("debian-sources: apt knows no Debian package index", file=sys.stderr)
        return 1
    stanzas = []
    for uri, repo in repos.items():
        lines = ["Types: deb-src", f"URIs: {uri}", "Suites: " + " ".join(repo["suites"]),
                 "Components: " + " ".join(repo["components"])]
        if repo["keyring"]:
            lines.append(f"Signed-By: {repo['keyring']}")
        stanzas.append("\n".join(lines))
    print("\n\n".join(stanzas))
    return 0


if __name__ == "__main__":
    sys.exit(main())
