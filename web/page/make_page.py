#!/usr/bin/python3
"""Writes Astrolume's single HTML page: the template page.html with its style, its scripts, the program
(Emscripten's JavaScript with the WebAssembly inlined), the Hangul font, the body maps and the licence
texts, all inside. Only the Python standard library: it runs on any build machine."""
import argparse
import base64
import json
import pathlib

HERE = pathlib.Path(__file__).resolve().parent


def inline_script(text):
    # A script element ends at the first "</script", wherever it stands.
    return text.replace("</script", "<\\/script")


def body_maps_script(images):
    # Each map under its file name, which the program opens; one missing is drawn untextured.
    maps = {path.name: base64.b64encode(path.read_bytes()).decode("ascii") for path in images if path.is_file()}
    return "const astrolumeBodyMaps = " + json.dumps(maps) + ";"


def escape_html(text):
    return text.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")


def write_page(program, font, scripts, images, version, licences, output):
    parts = {
        "@FONT@": base64.b64encode(font.read_bytes()).decode("ascii"),
        "@STYLE@": (HERE / "page.css").read_text(encoding="utf-8"),
        "@VERSION@": version,
        "@LICENCES@": escape_html("\n\n".join(p.read_text(encoding="utf-8") for p in licences)),
        "@BODY_MAPS@": body_maps_script(images),
        "@PAGE_SCRIPT@": inline_script("\n".join(path.read_text(encoding="utf-8") for path in scripts)),
        "@PROGRAM@": inline_script(program.read_text(encoding="utf-8")),
    }
    page = (HERE / "page.html").read_text(encoding="utf-8")
    for marker, text in parts.items():
        if marker not in page:
            raise SystemExit(f"make_page: {marker} is missing from page.html")
        # Replaced one at a time, each once: no inserted text is searched for markers.
        before, after = page.split(marker, 1)
        page = before + text + after
    output.parent.mkdir(parents=True, exist_ok=True)
    temporary = output.with_suffix(".partial")
    temporary.write_text(page, encoding="utf-8")
    temporary.replace(output)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True, type=pathlib.Path, help="astrolume.js from Emscripten")
    parser.add_argument("--font", required=True, type=pathlib.Path, help="the Hangul font subset (TrueType)")
    parser.add_argument("--scripts", nargs="+", required=True, type=pathlib.Path,
                        help="the page's own scripts, in the order they run (web/sources.cmake)")
    parser.add_argument("--images", nargs="+", required=True, type=pathlib.Path,
                        help="the body BMPs the program opens, those missing left out")
    parser.add_argument("--version", required=True)
    parser.add_argument("--licences", nargs="+", required=True, type=pathlib.Path)
    parser.add_argument("--output", required=True, type=pathlib.Path)
    args = parser.parse_args()
    write_page(args.program, args.font, args.scripts, args.images, args.version, args.licences, args.output)


if __name__ == "__main__":
    main()
