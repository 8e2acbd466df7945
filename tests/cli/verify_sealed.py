#!/usr/bin/env python3
"""Verifies a sealed game file from the file alone, written apart from the program's own code.

    verify_sealed.py GAME.tfp

Deciphers the data line, checks every revealed value against its commitment, recomputes the
result of every checked turn and checks the turn counter, ending turn, markers and players
against them. Prints "verified: <stage> <turns checked> <ending turn or -1>" and exits 0, or
prints what is wrong and exits 1.
"""
import hashlib
import re
import sys

KEY = (19, 7, 31, 3)


def offset(position):
    for cls, divisor in enumerate((3, 5, 7)):
        if position % divisor == 0:
            return KEY[cls]
    return KEY[3]


def decipher(line):
    out = bytearray()
    for start in range(0, len(line), 2):
        position = start // 2 + 1
        value = int(line[start:start + 2].replace("*", ""), 16)
        if position % 2 == 0:
            value -= offset(position)
            value += 255 if value < 0 else 0
        else:
            value += offset(position)
            value -= 255 if value > 255 else 0
        out.append(value)
    return out.decode("cp1252")


def element(data, tag):
    match = re.search("<%s>(.*?)</%s>" % (tag, tag), data)
    return match.group(1) if match else ""


def h(data):
    return hashlib.sha256(data).digest()


def times(value, count):
    for _ in range(count):
        value = h(value)
    return value


def ends(r, k, weights):
    total, weight = sum(weights[k - 1:]), weights[k - 1]
    limit = 2**64 - (2**64 % total)
    while True:
        u = int.from_bytes(r[:8], "big")
        if u < limit:
            return u % total < weight
        r = h(r)


def verify(path):
    with open(path, "rb") as file:
        lines = [line for line in file.read().decode("ascii").split("\r\n") if line]
    data = decipher(lines[-1])
    number = lambda tag: int(element(data, tag) or "0")
    if number("SecurityMode") != 2 or element(data, "Version") != "1.6.0":
        return "not a sealed game of version 1.6.0"
    if element(data, "Player1Pwd") or element(data, "Player2Pwd"):
        return "a sealed game holds a password"
    turns, modifier, kind = number("TotalTurns"), number("TurnVariance"), number("GameType")
    if not (1 <= turns <= 99 and 0 <= modifier <= turns - 1 and kind in (0, 1)):
        return "no game's setup"
    lowest, width = turns - modifier, (modifier + 1 if kind == 0 else 2 * modifier + 1)
    weights = [1 if k in (1, width) else 2 for k in range(1, width + 1)]
    game = bytes.fromhex(element(data, "SealedGame"))
    commits = [bytes.fromhex(element(data, "SealedCommit%d" % p)) for p in (1, 2)]
    if len(game) != 16 or len(commits[0]) != 32 or len(commits[1]) not in (0, 32):
        return "malformed id or commitment"
    reveals = []
    for player in (1, 2):
        text = element(data, "SealedReveal%d" % player)
        index, value = (int(text.split(":")[0]), bytes.fromhex(text.split(":")[1])) \
            if text else (0, commits[player - 1])
        if index > width or times(value, index) != commits[player - 1]:
            return "player #%d's revealed value does not match the commitment" % player
        reveals.append((index, value))
    (a, v1), (b, v2) = reveals
    if not commits[1]:
        if a or b:
            return "values revealed before the join"
        stage, checked, saver = "created", 0, 1
    elif a == b:
        stage, checked, saver = "over", a, 1 if a % 2 else 2
    elif abs(a - b) == 1 and (max(a, b) == a) == (min(a, b) % 2 == 1):
        stage, checked, saver = "going-on", min(a, b), 1 if min(a, b) % 2 else 2
    else:
        return "reveals %d and %d fit no game" % (a, b)
    for k in range(1, checked + 1):
        r = h(b"TFP-SEALED-TURN" + game + commits[0] + commits[1] + k.to_bytes(2, "big")
              + times(v1, a - k) + times(v2, b - k))
        if ends(r, k, weights) != (stage == "over" and k == checked):
            return "turn %d's recorded result is not its result" % (lowest + k - 1)
    current = lowest - 1 + checked
    ending = current if stage == "over" else -1
    last = {1: 0, 2: 0}
    for k in range(1, checked + 1):
        last[1 if k % 2 else 2] = lowest + k - 1
    expected = {"CurrentTurn": current, "EndingTurn": ending, "Player1LastTurn": last[1],
                "Player2LastTurn": last[2], "CurrentPlayer": saver,
                "DestinationPlayer": 3 - saver}
    for tag, value in expected.items():
        if number(tag) != value:
            return "%s is %d, not %d" % (tag, number(tag), value)
    print("verified: %s %d %d" % (stage, checked, ending))
    return None


if __name__ == "__main__":
    problem = verify(sys.argv[1])
    if problem:
        print(problem)
        sys.exit(1)
