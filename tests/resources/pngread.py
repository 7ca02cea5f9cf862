"""Minimal PNG reader for the checks: 8-bit RGBA, non-interlaced."""
import struct
import zlib


class Png:
    def __init__(self, data):
        if data[:8] != b'\x89PNG\r\n\x1a\n':
            raise ValueError('not a PNG')
        pos, idat = 8, []
        while pos < len(data):
            length, kind = struct.unpack_from('>I4s', data, pos)
            body = data[pos + 8:pos + 8 + length]
            if kind == b'IHDR':
                self.width, self.height, self.depth, self.colour, _, _, self.interlace = struct.unpack('>IIBBBBB', body)
            elif kind == b'IDAT':
                idat.append(body)
            pos += 12 + length
        self._raw = zlib.decompress(b''.join(idat))
        self._pixels = None

    @property
    def is_rgba8(self):
        return self.depth == 8 and self.colour == 6 and self.interlace == 0

    def pixels(self):
        """Unfiltered rows as one bytearray of R, G, B, A."""
        if self._pixels is None:
            if not self.is_rgba8:
                raise ValueError('only 8-bit RGBA is read')
            bpp, stride = 4, self.width * 4
            out = bytearray(stride * self.height)
            prev = bytearray(stride)
            raw = self._raw
            for y in range(self.height):
                ft = raw[y * (stride + 1)]
                line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
                if ft == 1:
                    for i in range(bpp, stride):
                        line[i] = (line[i] + line[i - bpp]) & 255
                elif ft == 2:
                    line = bytearray((a + b) & 255 for a, b in zip(line, prev))
                elif ft == 3:
                    for i in range(stride):
                        left = line[i - bpp] if i >= bpp else 0
                        line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
                elif ft == 4:
                    for i in range(stride):
                        a = line[i - bpp] if i >= bpp else 0
                        b = prev[i]
                        c = prev[i - bpp] if i >= bpp else 0
                        p = a + b - c
                        pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                        pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                        line[i] = (line[i] + pred) & 255
                elif ft != 0:
                    raise ValueError('bad filter %d' % ft)
                out[y * stride:(y + 1) * stride] = line
                prev = line
            self._pixels = out
        return self._pixels

    def rgba(self, x, y):
        i = (y * self.width + x) * 4
        return tuple(self.pixels()[i:i + 4])
