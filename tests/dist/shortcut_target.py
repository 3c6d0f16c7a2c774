"""Prints the path a Windows shortcut (.lnk) starts: the local base path of
its link information, as the shell reads it.
usage: shortcut_target.py FILE.lnk"""
import struct
import sys

HAS_ID_LIST = 0x01
HAS_LINK_INFO = 0x02
HEADER_SIZE = 0x4C


def c_string(data, start, wide):
    if wide:
        end = start
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[start:end].decode("utf-16-le")
    return data[start:data.index(b"\0", start)].decode("cp1250")


def target(data):
    if struct.unpack_from("<I", data, 0)[0] != HEADER_SIZE:
        raise ValueError("not a shortcut")
    flags = struct.unpack_from("<I", data, 0x14)[0]
    if not flags & HAS_LINK_INFO:
        raise ValueError("the shortcut holds no link information")
    offset = HEADER_SIZE
    if flags & HAS_ID_LIST:
        offset += 2 + struct.unpack_from("<H", data, offset)[0]
    header_size, = struct.unpack_from("<I", data, offset + 4)
    base, = struct.unpack_from("<I", data, offset + 16)
    suffix, = struct.unpack_from("<I", data, offset + 24)
    if header_size >= 0x24:
        base, = struct.unpack_from("<I", data, offset + 28)
        suffix, = struct.unpack_from("<I", data, offset + 32)
        return c_string(data, offset + base, True) + c_string(data, offset + suffix, True)
    return c_string(data, offset + base, False) + c_string(data, offset + suffix, False)


if __name__ == "__main__":
    with open(sys.argv[1], "rb") as link:
        print(target(link.read()))
