#!/usr/bin/env python3
"""Renders every skin image of both sets and packs them into one .res file.

SVG sources are written next to the PNGs; an image whose SVG did not change
and whose PNG exists is not rendered again.
"""
import argparse
import concurrent.futures
import ctypes
import os
import struct
import subprocess
import sys
import time
import zlib

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import art  # noqa: E402
import resfile  # noqa: E402


def png_size(path):
    with open(path, 'rb') as f:
        head = f.read(26)
    if head[:8] != b'\x89PNG\r\n\x1a\n' or head[12:16] != b'IHDR':
        raise ValueError('%s: not a PNG' % path)
    w, h, depth, colour = struct.unpack('>IIBB', head[16:26])
    return w, h, depth, colour


def write_opaque_rgba_png(path, bgra, w, h, stride):
    """PNG colour type 6 from cairo's B, G, R, A bytes (all opaque, so no
    premultiplication to undo)."""
    rows = []
    for y in range(h):
        src = bgra[y * stride:y * stride + w * 4]
        row = bytearray(w * 4)
        row[0::4], row[1::4], row[2::4], row[3::4] = src[2::4], src[1::4], src[0::4], src[3::4]
        rows.append(b'\0' + bytes(row))

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, 'wb') as f:
        f.write(b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
                + chunk(b'IDAT', zlib.compress(b''.join(rows), 6)) + chunk(b'IEND', b''))


def plan(out_dir):
    jobs = []
    for set_name, scale in art.SETS.items():
        os.makedirs(os.path.join(out_dir, set_name), exist_ok=True)
        for name, image_def in art.IMAGES.items():
            if set_name in image_def.sets:
                base = os.path.join(out_dir, set_name, name)
                jobs.append((set_name, name, image_def, scale, base + '.svg', base + '.png'))
    return jobs


class LibRsvg:
    """librsvg and cairo through ctypes: one process renders every image, and
    cairo's ARGB32 surface always writes 8-bit RGBA PNGs."""

    class Rect(ctypes.Structure):
        _fields_ = [('x', ctypes.c_double), ('y', ctypes.c_double),
                    ('width', ctypes.c_double), ('height', ctypes.c_double)]

    def __init__(self):
        self.rsvg = ctypes.CDLL('librsvg-2.so.2')
        self.cairo = ctypes.CDLL('libcairo.so.2')
        self.gobject = ctypes.CDLL('libgobject-2.0.so.0')
        vp = ctypes.c_void_p
        self.rsvg.rsvg_handle_new_from_data.restype = vp
        self.rsvg.rsvg_handle_new_from_data.argtypes = [ctypes.c_char_p, ctypes.c_size_t, ctypes.POINTER(vp)]
        self.rsvg.rsvg_handle_render_document.restype = ctypes.c_int
        self.rsvg.rsvg_handle_render_document.argtypes = [vp, vp, ctypes.POINTER(self.Rect), ctypes.POINTER(vp)]
        self.cairo.cairo_image_surface_create.restype = vp
        self.cairo.cairo_image_surface_create.argtypes = [ctypes.c_int, ctypes.c_int, ctypes.c_int]
        self.cairo.cairo_create.restype = vp
        self.cairo.cairo_create.argtypes = [vp]
        self.cairo.cairo_surface_write_to_png.restype = ctypes.c_int
        self.cairo.cairo_surface_write_to_png.argtypes = [vp, ctypes.c_char_p]
        self.cairo.cairo_image_surface_get_data.restype = vp
        self.cairo.cairo_image_surface_get_data.argtypes = [vp]
        self.cairo.cairo_image_surface_get_stride.argtypes = [vp]
        self.cairo.cairo_surface_flush.argtypes = [vp]
        self.cairo.cairo_destroy.argtypes = [vp]
        self.cairo.cairo_surface_destroy.argtypes = [vp]
        self.gobject.g_object_unref.argtypes = [vp]

    def __call__(self, svg_text, w, h, png_path):
        data = svg_text.encode('utf-8')
        err = ctypes.c_void_p()
        handle = self.rsvg.rsvg_handle_new_from_data(data, len(data), ctypes.byref(err))
        if not handle:
            raise RuntimeError('librsvg cannot parse the SVG for ' + png_path)
        surface = self.cairo.cairo_image_surface_create(0, w, h)  # CAIRO_FORMAT_ARGB32
        cr = self.cairo.cairo_create(surface)
        ok = self.rsvg.rsvg_handle_render_document(handle, cr, ctypes.byref(self.Rect(0, 0, w, h)),
                                                   ctypes.byref(err))
        status = self.cairo.cairo_surface_write_to_png(surface, png_path.encode())
        if status == 0 and png_size(png_path)[3] != 6:
            # cairo drops the alpha channel of opaque images; the skin wants RGBA
            self.cairo.cairo_surface_flush(surface)
            stride = self.cairo.cairo_image_surface_get_stride(surface)
            raw = ctypes.string_at(self.cairo.cairo_image_surface_get_data(surface), stride * h)
            write_opaque_rgba_png(png_path, raw, w, h, stride)
        self.cairo.cairo_destroy(cr)
        self.cairo.cairo_surface_destroy(surface)
        self.gobject.g_object_unref(handle)
        if not ok or status != 0:
            raise RuntimeError('rendering failed for ' + png_path)


def render(job, renderer):
    set_name, name, image_def, scale, svg_path, png_path = job
    text = image_def.render(scale)
    old = None
    if os.path.exists(svg_path):
        with open(svg_path, encoding='utf-8') as f:
            old = f.read()
    if old == text and os.path.exists(png_path):
        return False
    with open(svg_path, 'w', encoding='utf-8') as f:
        f.write(text)
    tmp = png_path + '.tmp'
    renderer(text, round(image_def.w * scale), round(image_def.h * scale), tmp)
    os.replace(tmp, png_path)
    return True


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument('--out-dir', required=True)
    ap.add_argument('--res', required=True)
    ap.add_argument('--manifest', required=True)
    args = ap.parse_args(argv)

    start = time.time()
    jobs = plan(args.out_dir)
    renderer = LibRsvg()
    with concurrent.futures.ThreadPoolExecutor(max_workers=os.cpu_count() or 4) as pool:
        rendered = sum(pool.map(lambda j: render(j, renderer), jobs))

    entries, manifest = [], []
    for set_name, name, image_def, scale, _, png_path in jobs:
        w, h, depth, colour = png_size(png_path)
        want = (round(image_def.w * scale), round(image_def.h * scale))
        if (w, h) != want or depth != 8 or colour != 6:
            sys.exit('%s/%s: %dx%d depth %d colour %d, expected %dx%d RGBA'
                     % (set_name, name, w, h, depth, colour, want[0], want[1]))
        with open(png_path, 'rb') as f:
            entries.append((set_name, name, f.read()))
        manifest.append('%s %s %d %d' % (set_name, name, w, h))
    tmp = args.res + '.tmp'
    resfile.write_res(tmp, entries)
    os.replace(tmp, args.res)
    with open(args.manifest, 'w', encoding='utf-8') as f:
        f.write('\n'.join(manifest) + '\n')
    total = sum(len(e[2]) for e in entries)
    print('skin: %d images (%d rendered), %.1f MB of PNG, %.1f s'
          % (len(entries), rendered, total / 1e6, time.time() - start))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
