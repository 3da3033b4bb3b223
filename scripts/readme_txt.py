#!/usr/bin/env python3
"""Writes README.txt for the downloads: the user's part of README.md (everything
before "The two commands", and "The settings file") as plain text with CRLF
line ends, so that Notepad on any Windows shows it."""
import re
import sys

USER_SECTIONS_END = "The two commands"
ALSO_SHOWN = ("The settings file",)


def sections(markdown):
    """Yields (heading, lines) with heading None for the text before the first ##."""
    heading, lines = None, []
    for line in markdown.splitlines():
        if line.startswith("## "):
            yield heading, lines
            heading, lines = line[3:].strip(), []
        else:
            lines.append(line)
    yield heading, lines


def inline(text):
    text = re.sub(r"!\[[^\]]*\]\([^)]*\)", "", text)
    text = re.sub(r"\[([^\]]+)\]\([^)]*\)", r"\1", text)
    text = re.sub(r"\*\*([^*]+)\*\*", r"\1", text)
    text = re.sub(r"(?<![\w*])\*([^*\s][^*]*)\*(?![\w*])", r"\1", text)
    return re.sub(r"`([^`]+)`", r"\1", text)


def cells(row):
    return [inline(cell.strip()) for cell in row.strip().strip("|").split("|")]


def table(rows):
    header, body = cells(rows[0]), [cells(row) for row in rows[2:]]
    out = []
    for row in body:
        if len(row) == 2:
            out.append(f"  {row[0]}: {row[1]}")
            continue
        out.append(f"  {row[0]}")
        out.extend(f"      {name}: {value}" for name, value in zip(header[1:], row[1:]) if value)
    return out


def plain(lines):
    out, rows, fenced = [], [], False
    for line in lines + [""]:
        if line.startswith("```"):
            fenced = not fenced
            continue
        if fenced:
            out.append("    " + line)
            continue
        if line.startswith("|"):
            rows.append(line)
            continue
        if rows:
            out.extend(table(rows))
            rows = []
        if line.startswith("!["):
            continue
        out.append(inline(line))
    return out


def drop_captions(lines):
    """A paragraph that is all emphasis describes the pictures, which a text file lacks."""
    text = "\n".join(lines)
    paragraphs = [p for p in text.split("\n\n") if not re.fullmatch(r"\s*\*[^*].*\*\s*", p, re.S)]
    return "\n\n".join(paragraphs).split("\n")


def readme_text(markdown):
    out = []
    user_part = True
    for heading, lines in sections(markdown):
        if heading == USER_SECTIONS_END:
            user_part = False
        if not user_part and heading not in ALSO_SHOWN:
            continue
        if heading is None:
            title = lines[0][2:].strip() if lines and lines[0].startswith("# ") else "README"
            out += [title, "=" * len(title)]
            lines = lines[1:]
        else:
            out += [heading, "-" * len(heading)]
        out += plain(drop_captions(lines))
    text = re.sub(r"\n{3,}", "\n\n", "\n".join(line.rstrip() for line in out)).strip() + "\n"
    return text.replace("\n", "\r\n")


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = readme_text(f.read())
    with open(target, "w", encoding="utf-8", newline="") as f:
        f.write(text)


if __name__ == "__main__":
    main()
