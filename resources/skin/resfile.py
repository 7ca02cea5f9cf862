"""Writes a Win32 .res file: the format windres reads with `-J res`."""
import struct


def _name(value):
    """A resource type or name: a UTF-16 string with its terminator, or an ordinal."""
    if isinstance(value, int):
        return struct.pack('<HH', 0xFFFF, value)
    return (value.upper() + '\0').encode('utf-16-le')


def _pad4(data):
    return data + b'\0' * (-len(data) % 4)


def resource(res_type, name, data, language=0, memory_flags=0x0030):
    header = _name(res_type) + _name(name)
    header = _pad4(header)
    header += struct.pack('<IHHII', 0, memory_flags, language, 0, 0)
    head = struct.pack('<II', len(data), 8 + len(header)) + header
    return head + _pad4(data)


def write_res(path, entries):
    """entries: iterable of (type, name, bytes); the file starts with the empty entry."""
    out = [resource(0, 0, b'', memory_flags=0)]
    for res_type, name, data in entries:
        out.append(resource(res_type, name, data))
    with open(path, 'wb') as f:
        f.write(b''.join(out))

