/* Writes the demo's sounds as 16-bit mono WAV files: a short jump effect and a
   little looping tune (the build turns the tune into an MP3 with lame).
   Usage: make_sounds <effect.wav> <tune.wav> */
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#define RATE 22050
#define PI 3.14159265358979

static void put(FILE* file, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) fputc((int)((value >> (8 * i)) & 0xFF), file);
}

static int writeWav(const char* path, const int16_t* samples, uint32_t count) {
    FILE* file = fopen(path, "wb");
    if (!file) return 0;
    fputs("RIFF", file);
    put(file, 36 + count * 2, 4);
    fputs("WAVEfmt ", file);
    put(file, 16, 4), put(file, 1, 2), put(file, 1, 2);
    put(file, RATE, 4), put(file, RATE * 2, 4), put(file, 2, 2), put(file, 16, 2);
    fputs("data", file);
    put(file, count * 2, 4);
    for (uint32_t i = 0; i < count; ++i) put(file, (uint16_t)samples[i], 2);
    return fclose(file) == 0;
}

/* Adds a plucked note: a soft square-ish tone with a quick attack and a decay,
   so notes do not click where they start and end. */
static void addNote(int16_t* samples, uint32_t count, double startSeconds, double seconds, double frequency,
                    double loudness) {
    uint32_t first = (uint32_t)(startSeconds * RATE), length = (uint32_t)(seconds * RATE);
    for (uint32_t i = 0; i < length && first + i < count; ++i) {
        double t = (double)i / RATE;
        double envelope = fmin(1.0, t / 0.01) * exp(-3.0 * t / seconds) * fmin(1.0, (length - i) / (0.01 * RATE));
        double wave = sin(2 * PI * frequency * t) + 0.3 * sin(6 * PI * frequency * t);
        double mixed = samples[first + i] + loudness * envelope * wave;
        samples[first + i] = (int16_t)fmax(-32767, fmin(32767, mixed));
    }
}

static double noteFrequency(int semitonesFromA4) { return 440.0 * pow(2.0, semitonesFromA4 / 12.0); }

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: %s <effect.wav> <tune.wav>\n", argv[0]);
        return 2;
    }
    /* The jump: a quick rising chirp. */
    uint32_t effectCount = RATE * 18 / 100, tuneCount = RATE * 8;
    int16_t* effect = calloc(effectCount, sizeof *effect);
    int16_t* tune = calloc(tuneCount, sizeof *tune);
    if (!effect || !tune) return 1;
    double phase = 0;
    for (uint32_t i = 0; i < effectCount; ++i) {
        double t = (double)i / effectCount;
        phase += 2 * PI * (300 + 900 * t) / RATE;
        effect[i] = (int16_t)(9000 * (1 - t) * (sin(phase) > 0 ? 1 : -1) * fmin(1.0, i / 100.0));
    }

    /* The tune: two bars of a four-chord arpeggio over a bass, 8 seconds. */
    static const int chords[4][3] = {{-9, -5, -2}, {-4, 0, 3}, {-7, -3, 0}, {-5, -2, 2}};
    const double beat = 0.25;
    for (int step = 0; step < 32; ++step) {
        const int* chord = chords[(step / 8) % 4];
        double start = step * beat;
        addNote(tune, tuneCount, start, beat * 1.5, noteFrequency(chord[step % 3] + 12), 3500);
        if (step % 4 == 0) addNote(tune, tuneCount, start, beat * 4, noteFrequency(chord[0] - 12), 4500);
    }

    int ok = writeWav(argv[1], effect, effectCount) && writeWav(argv[2], tune, tuneCount);
    free(effect);
    free(tune);
    if (!ok) fprintf(stderr, "make_sounds: cannot write the sounds\n");
    return ok ? 0 : 1;
}
