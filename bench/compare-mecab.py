#!/usr/bin/env python3
"""How the reader's word boundaries agree with MeCab's on Japanese text that
nobody here wrote: the Japanese message catalogues Debian installs
(/usr/share/locale/ja/LC_MESSAGES/*.mo, as msgunfmt reads them).

    bench/compare-mecab.py [--lookup build/src/cli/mirudex-lookup] [--workdir build-data] [--lines 3000]

Needs the mecab and mecab-ipadic-utf8 packages and a working folder with
Debian's EDICT (scripts/setup-data.sh build-data). Prints, over the texts:
  - precision and recall of the reader's word boundaries against MeCab's
    (blanks left out on both sides), once against MeCab's morphemes as they
    are and once with conjugation endings joined to their word (食べ|まし|た
    is one word, 食べました, as a dictionary lists it);
  - the share of MeCab's content words (nouns, verbs, adjectives, adverbs,
    not numbers) whose first character begins or lies in a reader token
    that was found in the dictionary.
"""
import argparse
import glob
import json
import re
import subprocess
import sys

JAPANESE = re.compile(r"[\u3041-\u30ff\u3400-\u9fff]")


def unquote(quoted):
    """A PO string's contents (between its quotes) with its escapes undone."""
    escapes = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "r": "\r"}
    return re.sub(r'\\(.)', lambda m: escapes.get(m.group(1), m.group(1)), quoted)


def translations(po):
    """The msgstr texts of a PO file, continuation lines joined."""
    current = None
    for line in po.splitlines() + [""]:
        if line.startswith("msgstr"):
            current = unquote(line[line.index('"') + 1:-1])
        elif line.startswith('"') and current is not None:
            current += unquote(line[1:-1])
        else:
            if current:
                yield current
            current = None


def catalogue_texts(limit):
    """Lines of the translated messages, with format directives and
    accelerator marks taken out; only lines with some Japanese."""
    seen = set()
    texts = []
    for mo in sorted(glob.glob("/usr/share/locale/ja/LC_MESSAGES/*.mo")):
        try:
            po = subprocess.run(["msgunfmt", "--no-wrap", mo], capture_output=True, text=True, check=True).stdout
        except (subprocess.CalledProcessError, UnicodeDecodeError):
            continue
        for message in translations(po):
            if "Content-Type:" in message:
                continue  # the header
            message = re.sub(r"%(\d+\$)?(\([^)]*\))?[-+ #0-9.*lhjztL]*[a-zA-Z%]|\{[^}]*\}|\(_[A-Za-z]\)|_(?=[A-Za-z])", " ", message)
            for line in message.splitlines():
                line = " ".join(line.split())
                if len(JAPANESE.findall(line)) >= 4 and line not in seen:
                    seen.add(line)
                    texts.append(line)
    # An even sample across the catalogues.
    if len(texts) > limit:
        step = len(texts) / limit
        texts = [texts[int(i * step)] for i in range(limit)]
    return texts


def mecab_words(texts):
    """Per text, MeCab's morphemes as (surface, features)."""
    out = subprocess.run(["mecab"], input="\n".join(texts) + "\n", capture_output=True, text=True, check=True).stdout
    result, current = [], []
    for line in out.splitlines():
        if line == "EOS":
            result.append(current)
            current = []
        elif "\t" in line:
            surface, features = line.split("\t", 1)
            current.append((surface, features.split(",")))
    return result


def joined(morphemes):
    """Conjugation endings joined to the word before them: auxiliary verbs,
    verbs and adjectives that are not words of their own (いる in 食べている,
    られる), and the particles て, で, ば after a verb or adjective."""
    words = []
    for surface, f in morphemes:
        pos, sub = f[0], f[1] if len(f) > 1 else ""
        ending = (pos == "助動詞" or (pos == "動詞" and sub in ("非自立", "接尾")) or
                  (pos == "形容詞" and sub == "非自立") or
                  (pos == "助詞" and sub == "接続助詞" and surface in ("て", "で", "ば")))
        if ending and words and words[-1][1][0] in ("動詞", "形容詞", "助動詞"):
            words[-1] = (words[-1][0] + surface, words[-1][1])
        else:
            words.append((surface, f))
    return words


def boundaries(surfaces):
    """Inner boundaries of the text without blanks, and the start of each surface."""
    cuts, starts, at = set(), [], 0
    for s in surfaces:
        s = "".join(s.split())
        if not s:
            starts.append(at)
            continue
        starts.append(at)
        if at:
            cuts.add(at)
        at += len(s)
    return cuts, starts, at


def reader_tokens(texts, lookup, workdir):
    out = subprocess.run([lookup, "--workdir", workdir, "--read", "--json", "-"], input="\n".join(texts) + "\n",
                         capture_output=True, text=True).stdout
    tokens = [json.loads(line) for line in out.splitlines()]
    # The surfaces of one text give it back: cut the stream at each text's length.
    result, i = [], 0
    for text in texts:
        mine, length = [], 0
        while length < len(text) and i < len(tokens):
            mine.append(tokens[i])
            length += len(tokens[i]["surface"])
            i += 1
        if length != len(text):
            sys.exit(f"the reader's tokens do not give the text back: {text!r}")
        result.append(mine)
    return result


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--lookup", default="build/src/cli/mirudex-lookup")
    ap.add_argument("--workdir", default="build-data")
    ap.add_argument("--lines", type=int, default=3000)
    ap.add_argument("--show", type=int, default=0, help="print this many texts split both ways")
    args = ap.parse_args()

    texts = catalogue_texts(args.lines)
    mecab = mecab_words(texts)
    reader = reader_tokens(texts, args.lookup, args.workdir)
    totals = {"raw": [0, 0, 0], "joined": [0, 0, 0]}
    content = resolved = aligned = 0
    for n, (text, morphemes, tokens) in enumerate(zip(texts, mecab, reader)):
        mine, token_starts, _ = boundaries([t["surface"] for t in tokens])
        for name, words in (("raw", morphemes), ("joined", joined(morphemes))):
            theirs, _, _ = boundaries([w[0] for w in words])
            totals[name][0] += len(mine & theirs)
            totals[name][1] += len(mine)
            totals[name][2] += len(theirs)
        # Content words: is the reader token holding their first character a found word?
        _, starts, _ = boundaries([m[0] for m in morphemes])
        for (surface, f), start in zip(morphemes, starts):
            if f[0] in ("名詞", "動詞", "形容詞", "副詞") and f[1] not in ("数", "非自立", "接尾") and JAPANESE.search(surface):
                content += 1
                k = max(i for i, s in enumerate(token_starts) if s <= start) if token_starts else -1
                found = k >= 0 and tokens[k]["word"] != ""
                resolved += found
                aligned += found and token_starts[k] == start
        if n < args.show:
            print(" | ".join(t["surface"] for t in tokens))
            print(" | ".join(w[0] for w in joined(morphemes)))
    print(f"texts: {len(texts)} lines of {len(glob.glob('/usr/share/locale/ja/LC_MESSAGES/*.mo'))} catalogues, "
          f"{sum(len(t) for t in texts)} characters")
    for name, (both, mine, theirs) in totals.items():
        label = "MeCab morphemes" if name == "raw" else "MeCab, endings joined"
        print(f"boundaries against {label}: precision {both / max(mine, 1):.3f}, recall {both / max(theirs, 1):.3f}")
    print(f"content words resolved to an entry: {resolved / max(content, 1):.3f} ({resolved} of {content}); "
          f"by a token that begins where the word does: {aligned / max(content, 1):.3f}")


if __name__ == "__main__":
    main()
