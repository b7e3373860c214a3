#!/usr/bin/env python3
"""One quiz source and one player give one file, whichever kelvopack writes
it: the Linux build, its i686 twin under qemu-i386, the 64-bit kelvopack.exe
and the 32-bit one (where this machine runs 32-bit programs) write the same
bytes for every example (quiz and page) and the 96-question text quiz, into
the 32-bit player and its 64-bit twin, and for the 96-photo quiz
(scripts/bench-photos) into the 32-bit player. Packing
into a player that already carries a quiz, packing twice and rebuilding
from `extract` give the first packing's bytes; the 64-bit twin gets the same
quiz; objdump still reads a packed unstripped player.

Environment: KELVOPACK (the Linux build), KELVOPACK_I686 (its i686 twin), KELVOPACK64 (kelvopack.exe),
KELVO_WIN32_BUILD (the 32-bit tree), PLAYER64, PHOTOS (where the photos are
drawn, once), WINEPREFIX.
"""
import filecmp
import os
import pathlib
import shutil
import subprocess
import tempfile
import unittest

ROOT = pathlib.Path(__file__).resolve().parents[3]
WORK = pathlib.Path(tempfile.mkdtemp(prefix="kelvo-same-bytes-"))
WIN32 = pathlib.Path(os.environ["KELVO_WIN32_BUILD"])
PLAYER64 = pathlib.Path(os.environ["PLAYER64"])
PLAYERS = {32: WIN32 / "src" / "kelvo.exe", 64: PLAYER64}
UNSTRIPPED = {bits: player.with_name("kelvo-unstripped.exe") for bits, player in PLAYERS.items()}
OBJDUMP = {32: "i686-w64-mingw32-objdump", 64: "x86_64-w64-mingw32-objdump"}
RUNS_32_BIT = subprocess.run([ROOT / "scripts" / "runs-32-bit"]).returncode == 0


LINUX = [os.environ["KELVOPACK"]]


def tools():
    """name -> the command that runs that build of kelvopack (a kelvopack.exe through scripts/kelvopack and Wine,
    the i686 Linux build through qemu-i386, as on a machine that runs no 32-bit program)."""
    wine = [str(ROOT / "scripts" / "kelvopack")]
    found = {"linux": LINUX, "i686": ["qemu-i386", os.environ["KELVOPACK_I686"]],
             "exe64": wine + ["KELVOPACK_EXE=" + os.environ["KELVOPACK64"]]}
    if RUNS_32_BIT:
        found["exe32"] = wine + ["KELVOPACK_EXE=" + str(WIN32 / "tools" / "kelvopack" / "kelvopack.exe")]
    else:
        print("same_bytes_test: this machine runs no 32-bit programs: the 32-bit kelvopack.exe is left out")
    return found


def kelvopack(tool, *arguments):
    """Runs `tool` (its command, then NAME=VALUE settings of its environment) with `arguments`; returns its output."""
    command = [part for part in tool if "=" not in part]
    settings = dict(part.split("=", 1) for part in tool if "=" in part)
    environment = dict(os.environ, KELVOPACK_WINEPREFIX=os.environ["WINEPREFIX"], **settings)
    done = subprocess.run([*command, *map(str, arguments)], env=environment, capture_output=True, encoding="utf-8")
    assert done.returncode == 0, done.stdout + done.stderr
    return done.stdout


def sources():
    subprocess.run([ROOT / "scripts" / "bench-photos", os.environ["PHOTOS"]], check=True)
    photos = pathlib.Path(os.environ["PHOTOS"])
    return sorted(ROOT.glob("examples/*/*.toml")) + [photos / "text96.toml", photos / "pictures96.toml"]


class SameBytes(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sources = sources()
        cls.tools = tools()
        for name, tool in cls.tools.items():
            for source in cls.sources:
                for bits in cls.outputs(source):
                    player = ["--player", PLAYERS[bits]] if bits != "html" else []
                    kelvopack(tool, "build", source, "-o", cls.packed(name, source, bits), *player)

    @staticmethod
    def outputs(source):
        """What each build writes of a source: the examples as pages too; the photos, whose 96 preparations
        are most of the time, into the shipped player only (the players differ in their own parts alone)."""
        if source.stem == "pictures96":
            return (32,)
        return (32, 64, "html") if source.parent.parent.name == "examples" else (32, 64)

    @staticmethod
    def packed(tool, source, bits):
        folder = WORK / tool / str(bits)
        folder.mkdir(parents=True, exist_ok=True)
        return folder / (source.stem + (".html" if bits == "html" else ".exe"))

    def test_every_build_of_kelvopack_writes_the_same_bytes(self):
        for source in self.sources:
            for bits in self.outputs(source):
                with self.subTest(source=source.name, bits=bits):
                    first = self.packed("linux", source, bits)
                    for tool in self.tools:
                        self.assertTrue(filecmp.cmp(first, self.packed(tool, source, bits), shallow=False), tool)

    def test_packing_again_into_a_packed_player_or_from_the_extracted_source_changes_nothing(self):
        linux = LINUX
        for source in self.sources:
            players = [bits for bits in self.outputs(source) if bits != "html"]
            for bits in players:
                with self.subTest(source=source.name, bits=bits):
                    first = self.packed("linux", source, bits)
                    again = WORK / "again" / first.name
                    again.parent.mkdir(exist_ok=True)
                    # The photos quiz prepares its 96 photos again for each packing: once is enough.
                    packed = (first, self.packed("linux", self.sources[0], bits)) if source.stem != "pictures96" else ()
                    for player in packed:
                        kelvopack(linux, "build", source, "-o", again, "--player", player)
                        self.assertTrue(filecmp.cmp(first, again, shallow=False), player)
                    folder = WORK / "extracted" / str(bits) / source.stem
                    kelvopack(linux, "extract", first, "-o", folder, "--force")
                    kelvopack(linux, "build", folder / (source.stem + ".toml"), "-o", again, "--player", PLAYERS[bits])
                    self.assertTrue(filecmp.cmp(first, again, shallow=False), "rebuilt from extract")
            if len(players) < 2:
                continue
            with self.subTest(source=source.name, twin="64-bit"):
                folders = [WORK / "extracted" / str(bits) / source.stem for bits in (32, 64)]
                self.assertEqual(filecmp.dircmp(*folders).diff_files, [])
                self.assertEqual(sorted(os.listdir(folders[0])), sorted(os.listdir(folders[1])))

    def test_the_linux_kelvopack_finds_a_player_beside_its_tree_and_speaks_utf8(self):
        said = kelvopack(LINUX, "build", ROOT / "examples" / "capitales" / "capitales.toml", "-o", WORK / "found.exe")
        self.assertRegex(said, r"found\.exe écrit \(.*, lecteur /.*/src/kelvo\.exe\)\.\n")
        self.assertEqual(kelvopack(LINUX, "check", "ÉLÈVE", "élève"), "Presque\n")

    def test_objdump_reads_a_packed_unstripped_player(self):
        source = ROOT / "examples" / "drapeaux" / "drapeaux.toml"
        for bits, player in UNSTRIPPED.items():
            with self.subTest(bits=bits):
                packed = WORK / f"unstripped{bits}.exe"
                kelvopack(LINUX, "build", source, "-o", packed, "--player", player)
                dump = subprocess.run([OBJDUMP[bits], "-h", "-p", "-t", packed], capture_output=True, text=True)
                self.assertEqual((dump.returncode, dump.stderr), (0, ""))
                # The section table, the data directories, the resource tree
                # with its named types, and the symbols found where their pointer says.
                for seen in (" .rsrc ", " .reloc ", " .debug_info ", "Resource Directory [.rsrc]",
                             "Base Relocation Directory [.reloc]", "]: IMG, Value", "]: PATCH, Value", "SYMBOL TABLE:\n[  0](sec"):
                    self.assertIn(seen, dump.stdout)


if __name__ == "__main__":
    try:
        unittest.main(verbosity=2)
    finally:
        shutil.rmtree(WORK, ignore_errors=True)
