"""Games as pages for the web tests: the resources they read (made here, as
the other tests make theirs), the page built by tools/web.sh, the server that
shows it, and the pixels of a screenshot."""
import math
import os
import shutil
import struct
import subprocess
import wave
import zlib

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


# ---- pictures ----------------------------------------------------------------

def write_png(path, width, height, rgb):
    """A picture of one colour, 8-bit RGB."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    row = b"\0" + bytes(rgb) * width
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                  chunk(b"IDAT", zlib.compress(row * height)) + chunk(b"IEND", b""))


class Picture:
    """A decoded 8-bit RGB or RGBA PNG (what Chromium's screenshots are)."""

    def __init__(self, data):
        assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
        at, idat = 8, b""
        while at < len(data):
            length, kind = struct.unpack(">I4s", data[at:at + 8])
            body = data[at + 8:at + 8 + length]
            if kind == b"IHDR":
                self.width, self.height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
                assert depth == 8 and colour in (2, 6) and interlace == 0, "unexpected PNG format"
                channels = 3 if colour == 2 else 4
            elif kind == b"IDAT":
                idat += body
            at += 12 + length
        raw = zlib.decompress(idat)
        stride = self.width * channels
        rows, previous = [], bytearray(stride)
        for y in range(self.height):
            start = y * (stride + 1)
            kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                up, up_left = previous[i], previous[i - channels] if i >= channels else 0
                if kind == 1:
                    line[i] = (line[i] + left) & 255
                elif kind == 2:
                    line[i] = (line[i] + up) & 255
                elif kind == 3:
                    line[i] = (line[i] + (left + up) // 2) & 255
                elif kind == 4:
                    p = left + up - up_left
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                    line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else up_left)) & 255
            rows.append(line)
            previous = line
        self.channels, self.rows = channels, rows

    def pixel(self, x, y):
        """0xRRGGBB at (x, y), y counted from the top."""
        line, at = self.rows[y], x * self.channels
        return line[at] << 16 | line[at + 1] << 8 | line[at + 2]

    def find(self, colour, left=0, top=0, right=None, bottom=None):
        """(left, top, right, bottom, count) of the pixels of a colour in a rectangle."""
        right = self.width if right is None else right
        bottom = self.height if bottom is None else bottom
        box = [1 << 30, 1 << 30, -1, -1, 0]
        for y in range(top, bottom):
            for x in range(left, right):
                if self.pixel(x, y) == colour:
                    box = [min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y), box[4] + 1]
        return tuple(box)

    def stroke_width(self, colour):
        """The median length of the horizontal runs of a colour."""
        runs = []
        for y in range(self.height):
            run = 0
            for x in range(self.width + 1):
                if x < self.width and self.pixel(x, y) == colour:
                    run += 1
                elif run:
                    runs.append(run)
                    run = 0
        return sorted(runs)[len(runs) // 2] if runs else 0


# ---- sounds ------------------------------------------------------------------

def write_tone_wav(path, frequency, milliseconds):
    """A 16-bit mono sine tone."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    rate = 22050
    samples = rate * milliseconds // 1000
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(b"".join(struct.pack("<h", int(12000 * math.sin(2 * math.pi * frequency * i / rate)))
                                 for i in range(samples)))


def write_tone_mp3(path, frequency, milliseconds):
    """The same tone encoded by Debian's lame."""
    wav = path + ".wav"
    write_tone_wav(wav, frequency, milliseconds)
    subprocess.run(["lame", "--quiet", wav, path], check=True)
    os.remove(wav)


# ---- pages -------------------------------------------------------------------

def build_page(game_source, resources, out, engine_built=False):
    """tools/web.sh build; returns its output, raises with it on failure.
    With engine_built, only the game is compiled and linked."""
    shutil.rmtree(out, ignore_errors=True)
    environment = dict(os.environ, VINDLE_WEB_ENGINE_BUILT="1") if engine_built else None
    done = subprocess.run([os.path.join(ROOT, "tools", "web.sh"), "build", game_source, resources, out],
                          stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, env=environment)
    if done.returncode != 0:
        raise RuntimeError(f"building {game_source} for the web failed:\n{done.stdout}")
    return done.stdout


class Server:
    """tools/web.sh serve on a free port; plain=True serves without the
    cross-origin isolation headers, as a simple static host does."""

    def __init__(self, folder, plain=False):
        command = ["python3", os.path.join(ROOT, "tools", "web", "serve.py")] + (["--plain"] if plain else [])
        self.process = subprocess.Popen(command + [folder, "0"], stdout=subprocess.PIPE, text=True)
        self.url = self.process.stdout.readline().strip()
        if not self.url.startswith("http://127.0.0.1:"):
            self.process.kill()
            raise RuntimeError("the page server did not start")

    def close(self):
        self.process.terminate()
        self.process.wait(timeout=10)
