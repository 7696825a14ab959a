"""Writes a C++ source holding the program's images and the About sound as byte arrays.
Usage: embed.py OUTPUT.cpp IMAGE_FOLDER SOUND.wav"""

import os
import sys

IMAGES = range(1, 13)


def array(name, data):
    lines = []
    for i in range(0, len(data), 20):
        lines.append("    " + ",".join(str(b) for b in data[i:i + 20]) + ",")
    return f"const std::uint8_t {name}[] = {{\n" + "\n".join(lines) + "\n};\n"


def main():
    out, image_dir, sound = sys.argv[1:4]
    parts = [
        "// Generated at build time by tools/images/embed.py from the image and sound"
        " generators.\n",
        "#include \"ui/resource_data.h\"\n\nnamespace {\n\n",
    ]
    for number in IMAGES:
        with open(os.path.join(image_dir, f"image{number}.bmp"), "rb") as f:
            parts.append(array(f"kImage{number}", f.read()))
    with open(sound, "rb") as f:
        parts.append(array("kAboutSound", f.read()))
    parts.append("\n}  // namespace\n\n")
    parts.append("const ResourceBlob kEmbeddedImages[kEmbeddedImageCount + 1] = {\n    {nullptr, 0},\n")
    for number in IMAGES:
        parts.append(f"    {{kImage{number}, sizeof kImage{number}}},\n")
    parts.append("};\n\nconst ResourceBlob kEmbeddedAboutSound = {kAboutSound, sizeof kAboutSound};\n")
    text = "".join(parts)
    # Rewrite only on change, so an unchanged generator does not rebuild the core.
    if os.path.exists(out):
        with open(out, encoding="utf-8") as f:
            if f.read() == text:
                return
    with open(out, "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
