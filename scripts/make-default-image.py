#!/usr/bin/env python3
"""Writes data/default.kda: the image Halyx starts with and restores on File > New.

406.1-470 MHz radio, eight PMR446 channels (446.00625 MHz upward in 12.5 kHz steps), the other
twelve channels erased (FF), sensible common settings.
"""
import pathlib

image = bytearray(b"\xff" * 2048)
header = bytearray(41)
header[12:22] = b"1000000001"      # serial number
header[22] = 1                     # band: 406.1-470 MHz
header[23] = 60                    # time-out timer, seconds
header[24] = 0                     # VOX off
header[25:31] = b"HX0001"          # user ID
header[31] = 1                     # channel 1
header[32] = 3                     # squelch level
header[33] = 0                     # radio language: first entry
header[34] = 0                     # scramble off
header[35] = 0                     # compand off
header[36] = 2                     # high power
image[0:41] = header


def bcd(steps: int) -> bytes:
    digits = f"{steps:08d}"
    return bytes(int(digits[i:i + 2], 16) for i in range(0, 8, 2))


for channel in range(1, 9):
    record = bytearray(27)
    record[0] = 1                                   # in use
    freq = bcd(44600625 + (channel - 1) * 1250)     # 10 Hz steps
    record[2:6] = freq                              # transmit
    record[6:10] = freq                             # receive
    record[13] = 0                                  # no receive tone
    record[14] = 0                                  # no transmit tone
    record[15] = 0                                  # 12.5K
    offset = 40 + 27 * channel
    image[offset:offset + 27] = record

out = pathlib.Path(__file__).resolve().parent.parent / "data" / "default.kda"
out.write_bytes(bytes(image))
print(f"wrote {out} ({len(image)} bytes)")
