#!/usr/bin/python3
"""Prints the text of every barcode zxing-cpp finds in an image, one per line, as
FORMAT:TEXT. Codabar results come without their start and stop letters."""
import sys

import zxingcpp
from PIL import Image

for result in zxingcpp.read_barcodes(Image.open(sys.argv[1])):
    print(f"{str(result.format).split('.')[-1]}:{result.text}")
