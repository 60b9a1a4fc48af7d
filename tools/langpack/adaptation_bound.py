#!/usr/bin/env python3
"""How much a text's second half could gain from what its first half teaches.

    adaptation_bound.py DB PHRASES TEXT...

DB and PHRASES are a language's db.dat and phrases.dat (read through `dict dump` and
`dict phrases`; the tool is taken from $DICT, default build/tools/dict/dict). Each TEXT is
split into two halves of words as `dict simulate --halves` splits it, with the word
tracker's separators. For the second half it prints:

- the share of its letters in words the shipped dictionary lacks but the first half used
  (the most that learning new words can bring);
- for its word pairs (two words with only spaces between), how often the following word is
  among the shipped three next words of the first word, among the three the first half used
  most (at least twice), and among those six: the letters of those followers bound what offering
  next words can save, since a tap saves at most the follower's letters but one.

A text whose second half scores no higher with the learned or combined next words than with
the shipped ones cannot gain much from learning, whatever the rules of learning.
"""
import collections
import os
import subprocess
import sys

SEPARATORS = set(' \t\n\r,:.!?;"-')
OFFERS = ("the shipped three", "the learned three", "those six")


def dict_lines(*args):
    tool = os.environ.get("DICT", "build/tools/dict/dict")
    out = subprocess.run([tool, *args], check=True, capture_output=True, text=True).stdout
    return [line.split("\t") for line in out.splitlines()]


def words_with_separators(text):
    """(lower-case word, the separator after it) for every word of the text."""
    words, current = [], ""
    for ch in text:
        if ch in SEPARATORS:
            if current:
                words.append((current.lower(), ch))
            current = ""
        else:
            current += ch
    if current:
        words.append((current.lower(), ""))
    return words


def spaced_pairs(words):
    return [(words[i][0], words[i + 1][0]) for i in range(len(words) - 1) if words[i][1] == " "]


def report(path, shipped_words, shipped_next):
    with open(path, encoding="utf-8") as f:
        words = words_with_separators(f.read())
    first, second = words[: len(words) // 2], words[len(words) // 2:]
    letters = sum(len(w) for w, _ in second)
    first_uses = collections.Counter(w for w, _ in first)
    learnable = sum(len(w) for w, _ in second if w not in shipped_words and first_uses[w])
    learned_next = collections.defaultdict(collections.Counter)
    for a, b in spaced_pairs(first):
        learned_next[a][b] += 1
    pairs = spaced_pairs(second)
    hits = collections.Counter()
    saved = collections.Counter()
    for a, b in pairs:
        shipped = shipped_next.get(a, [])[:3]
        learned = [w for w, n in learned_next[a].most_common(3) if n >= 2]
        offers = dict(zip(OFFERS, (shipped, learned, shipped + learned)))
        for kind, offered in offers.items():
            if b in offered:
                hits[kind] += 1
                saved[kind] += len(b) - 1
    print(f"{os.path.basename(path)}: second half {len(second)} words, {len(pairs)} word pairs")
    print(f"  letters in new words the first half used: {100 * learnable / letters:.1f} %")
    for kind in OFFERS:
        print(f"  next word among {kind}: {100 * hits[kind] / len(pairs):.1f} % of pairs, "
              f"at most {100 * saved[kind] / letters:.1f} % of the letters saved")


def main():
    if len(sys.argv) < 4:
        print(__doc__.strip().splitlines()[2].strip(), file=sys.stderr)
        return 2
    shipped_words = {row[0] for row in dict_lines("dump", sys.argv[1])}
    shipped_next = collections.defaultdict(list)
    for first, following in dict_lines("phrases", sys.argv[2]):
        shipped_next[first.lower()].append(following.lower())
    for path in sys.argv[3:]:
        report(path, shipped_words, shipped_next)
    return 0


if __name__ == "__main__":
    sys.exit(main())
