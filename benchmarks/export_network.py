#!/usr/bin/python3
"""The same job as meshloom-export, written the short way with SciPy: for the benchmark
export_vs_python.sh, which times the two and checks that they write the same bytes.

    export_network.py NODES LINKS DEMAND_FILE DISTANCE_FILE

Reads tab-separated rows with "." as the decimal symbol (a header row first), names in UTF-8;
links are origin number, destination number, distance. The values are held as the program
holds them (a 40-bit significand) and the distances completed by Floyd-Warshall, capped at
10000."""

import sys
from fractions import Fraction

import numpy as np
from scipy.sparse.csgraph import csgraph_from_dense, floyd_warshall

CAP = 10000


def rows(path):
    with open(path, encoding="utf-8") as file:
        lines = [line.rstrip("\r\n").split("\t") for line in file if line.strip()]
    return lines[1:] if not lines[0][-1].replace(".", "").isdigit() else lines


def round_bits(x, bits, half_even):
    """x rounded to a significand of bits bits: to nearest, ties to even or away from zero."""
    if x == 0:
        return x
    n = x.numerator.bit_length() - x.denominator.bit_length()
    n += 1 if Fraction(2) ** (n + 1) <= x else -1 if Fraction(2) ** n > x else 0
    scaled = x * Fraction(2) ** (bits - 1 - n)
    m, rest = divmod(scaled, 1)
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and (not half_even or m % 2)):
        m += 1
    return m / Fraction(2) ** (bits - 1 - n)


def held(text):
    """A typed value as held: read into 64 bits, then narrowed to 40 bits, halves up."""
    return round_bits(round_bits(Fraction(text or "0"), 64, True), 40, False)


def fixed(value):
    thousandths = int(value * 1000 + Fraction(1, 2))
    return f"{thousandths // 1000}.{thousandths % 1000:03d}".rjust(15)


def main(nodes_path, links_path, demand_path, distance_path):
    nodes = rows(nodes_path)
    with open(demand_path, "wb") as out:
        for number, (name, *values) in enumerate(nodes, 1):
            texts = "  ".join(fixed(held(v)) for v in values)
            line = f"{number:4d}    0.0    0.0    {texts}   < "
            out.write(line.encode("ascii") + name.encode("cp1252", "replace") + b" >\r\n")

    size = len(nodes)
    matrix = np.full((size, size), np.inf)
    for origin, destination, distance in rows(links_path):
        matrix[int(origin) - 1, int(destination) - 1] = int(distance)
    paths = floyd_warshall(csgraph_from_dense(matrix, null_value=np.inf), directed=True)
    paths = np.minimum(paths, CAP).astype(np.int64)
    with open(distance_path, "wb") as out:
        out.write(("\r\n".join(map(str, paths.ravel().tolist())) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    main(*sys.argv[1:5])
