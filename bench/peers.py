#!/usr/bin/env python3
"""Times the conversion engine (the `transcode` bench program) against its peers.

    bench/peers.py [--reps R] [--sizes 1,2,4,8,19] [--kinds mp4,avi] [--seconds 10]
                   [--keep DIR] [--before TRANSCODE] TRANSCODE

Two conversions of 1280x720 25 fps inputs of the given length (a moving test picture with
a tone):
  mp4  H.264 + AAC in MP4   -> H.264 (x264, its default preset) 2 Mbit/s + AAC 128 kbit/s in MP4
  avi  MPEG-4 + MP3 in AVI  -> MPEG-4 2 Mbit/s + MP3 128 kbit/s in AVI
        (HandBrakeCLI writes no AVI: its output there is MPEG-4 + MP3 in Matroska)

For every batch size N (N copies of the input) the contenders run one after another, round
after round, so that a change in the machine's load falls on all of them alike:
  engine, 1 at a time   transcode --threads 1 (the application's default: one job at a
                        time, its codecs on all cores)
  engine, K at once     transcode --threads K, K = min(N, 4) (shown for N > 1)
  ffmpeg one by one     ffmpeg with its default threads, one file after the other
  ffmpeg N x 1 thread   N ffmpeg processes at once, one thread per codec
  HandBrakeCLI          one file after the other, its default threads (when installed)
With --before, a second `transcode` (built from an earlier revision) runs the same two engine
contenders, named "engine before, ...", so that a change is timed against the code it
replaces in the same rounds.

It prints each contender's wall time as min / median / max over the rounds and the ratio
of its median to the best peer's median, the load average before and after, and the table
again in Markdown.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

KINDS = {
    "mp4": {
        "input": ["-c:v", "libx264", "-b:v", "4M", "-c:a", "aac", "-b:a", "128k"],
        "ext": ".mp4",
        "engine": ["VideoCodec=libx264", "VideoBitrate=2000000", "AudioCodec=aac", "AudioBitrate=128000"],
        "ffmpeg": ["-c:v", "libx264", "-b:v", "2000k", "-c:a", "aac", "-b:a", "128k"],
        "handbrake": ["-e", "x264", "-b", "2000", "-E", "av_aac", "-B", "128", "--format", "av_mp4"],
        "hb_ext": ".mp4",
    },
    "avi": {
        "input": ["-c:v", "mpeg4", "-b:v", "4M", "-c:a", "libmp3lame", "-b:a", "128k"],
        "ext": ".avi",
        "engine": ["VideoCodec=mpeg4", "VideoBitrate=2000000", "AudioCodec=libmp3lame", "AudioBitrate=128000"],
        "ffmpeg": ["-c:v", "mpeg4", "-b:v", "2000k", "-c:a", "libmp3lame", "-b:a", "128k"],
        "handbrake": ["-e", "mpeg4", "-b", "2000", "-E", "mp3", "-B", "128", "--format", "av_mkv"],
        "hb_ext": ".mkv",
    },
}

FFMPEG = ["ffmpeg", "-nostdin", "-y", "-loglevel", "error"]


def run(cmd):
    r = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if r.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(cmd), r.stderr.decode(errors="replace")[-2000:]))


def run_all(cmds):
    procs = [subprocess.Popen(c, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE) for c in cmds]
    for c, p in zip(cmds, procs):
        _, err = p.communicate()
        if p.returncode != 0:
            sys.exit("failed: %s\n%s" % (" ".join(c), err.decode(errors="replace")[-2000:]))


def make_input(path, kind, seconds):
    run(FFMPEG + ["-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25:duration=%g" % seconds,
                  "-f", "lavfi", "-i", "sine=f=440:sample_rate=44100:d=%g" % seconds, "-ac", "2"]
        + KINDS[kind]["input"] + [path])


def engine_contenders(label, transcode, k, files, out):
    n = len(files)
    engine = [transcode]
    for s in k["engine"]:
        engine += ["--set", s]
    engine += ["--ext", k["ext"], "-o", out, "--"]
    c = [(label + ", 1 at a time", True, lambda: run(engine[:1] + ["--threads", "1"] + engine[1:] + files))]
    at_once = min(n, 4)
    if n > 1:
        c.append((label + ", %d at once" % at_once, True,
                  lambda: run(engine[:1] + ["--threads", str(at_once)] + engine[1:] + files)))
    return c


def contenders(transcode, before, kind, files, out):
    k = KINDS[kind]
    n = len(files)
    base = lambda f: os.path.join(out, os.path.splitext(os.path.basename(f))[0])

    def ffmpeg(f, single):
        t1 = ["-threads", "1"] if single else []
        t2 = ["-threads", "1", "-filter_threads", "1"] if single else []
        return FFMPEG + t1 + ["-i", f] + t2 + k["ffmpeg"] + [base(f) + ".ff" + k["ext"]]

    c = engine_contenders("engine", transcode, k, files, out)
    if before:
        c += engine_contenders("engine before", before, k, files, out)
    c.append(("ffmpeg one by one", False, lambda: [run(ffmpeg(f, False)) for f in files]))
    if n > 1:
        c.append(("ffmpeg %d x 1 thread" % n, False, lambda: run_all([ffmpeg(f, True) for f in files])))
    if shutil.which("HandBrakeCLI"):
        hb = lambda f: ["HandBrakeCLI", "-i", f, "-o", base(f) + ".hb" + k["hb_ext"], "--crop", "0:0:0:0"] + k["handbrake"]
        c.append(("HandBrakeCLI one by one", False, lambda: [run(hb(f)) for f in files]))
    return c


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("transcode")
    ap.add_argument("--reps", type=int, default=5)
    ap.add_argument("--sizes", default="1,2,4,8,19")
    ap.add_argument("--kinds", default="mp4,avi")
    ap.add_argument("--seconds", type=float, default=10)
    ap.add_argument("--keep", help="keep the inputs and outputs in this folder")
    ap.add_argument("--before", help="an earlier build's transcode, timed in the same rounds")
    a = ap.parse_args()
    transcode = os.path.abspath(a.transcode)
    before = os.path.abspath(a.before) if a.before else None
    work = a.keep or tempfile.mkdtemp(prefix="peers-")
    os.makedirs(work, exist_ok=True)
    rows = []
    load_before = os.getloadavg()
    print("cores %d, load average %.1f %.1f %.1f" % ((os.cpu_count(),) + load_before), flush=True)
    try:
        for kind in a.kinds.split(","):
            src = os.path.join(work, "in_" + kind + KINDS[kind]["ext"])
            make_input(src, kind, a.seconds)
            for n in [int(s) for s in a.sizes.split(",")]:
                folder = os.path.join(work, "%s_%d" % (kind, n))
                out = os.path.join(folder, "out")
                os.makedirs(out, exist_ok=True)
                files = []
                for i in range(n):
                    f = os.path.join(folder, "f%02d%s" % (i + 1, KINDS[kind]["ext"]))
                    shutil.copyfile(src, f)
                    files.append(f)
                cs = contenders(transcode, before, kind, files, out)
                times = {name: [] for name, _, _ in cs}
                for _ in range(a.reps):
                    for name, _, go in cs:
                        t = time.perf_counter()
                        go()
                        times[name].append(time.perf_counter() - t)
                peers = [statistics.median(times[name]) for name, ours, _ in cs if not ours]
                best = min(peers)
                print("\n%s, %d file%s, %d rounds, load %.1f" % (kind, n, "" if n == 1 else "s", a.reps,
                                                                os.getloadavg()[0]), flush=True)
                for name, ours, _ in cs:
                    t = times[name]
                    med = statistics.median(t)
                    rows.append((kind, n, name, min(t), med, max(t), med / best))
                    print("  %-26s %7.2f / %7.2f / %7.2f s   %.2f x best peer" % (name, min(t), med, max(t), med / best),
                          flush=True)
                shutil.rmtree(folder)
    finally:
        if not a.keep:
            shutil.rmtree(work, ignore_errors=True)
    print("\nload average before %.1f %.1f %.1f, after %.1f %.1f %.1f" % (load_before + os.getloadavg()))
    print("\n| input | files | contender | min / median / max (s) | median / best peer's |")
    print("|---|---|---|---|---|")
    for kind, n, name, lo, med, hi, r in rows:
        print("| %s | %d | %s | %.2f / %.2f / %.2f | %.2f |" % (kind, n, name, lo, med, hi, r))


if __name__ == "__main__":
    main()
