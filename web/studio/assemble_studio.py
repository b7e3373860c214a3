#!/usr/bin/env python3
"""Writes kelvo-studio.html: the page with its style, script, worker, the
studio's engine and the player's bytes (base64) inside, one file. The
engine's build is named by a digest of its code: the pictures it prepared
and the page kept are taken back by that engine only.

  assemble_studio.py ENGINE.js PLAYER.exe OUTPUT.html
"""
import base64
import hashlib
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent


def inline(text):
    # Inside a <script> element nothing may close it early.
    return text.replace("</script", "<\\/script").replace("<!--", "<\\!--")


def main(engine, player, output):
    engine_code = pathlib.Path(engine).read_text(encoding="utf-8")
    parts = {
        "style": (HERE / "studio.css").read_text(encoding="utf-8"),
        "script": inline((HERE / "studio.js").read_text(encoding="utf-8")),
        "worker": inline((HERE / "studio-worker.js").read_text(encoding="utf-8")),
        "engine": inline(engine_code),
        "build": hashlib.sha256(engine_code.encode("utf-8")).hexdigest()[:16],
        "player": base64.b64encode(pathlib.Path(player).read_bytes()).decode("ascii"),
    }
    page = (HERE / "studio.html").read_text(encoding="utf-8")
    for name, text in parts.items():
        page = page.replace("{{" + name + "}}", text, 1)
    target = pathlib.Path(output)
    target.parent.mkdir(parents=True, exist_ok=True)
    temporary = target.with_suffix(".tmp")
    temporary.write_text(page, encoding="utf-8")
    temporary.replace(target)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    main(*sys.argv[1:])
