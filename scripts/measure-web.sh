#!/usr/bin/env bash
# Measures the game's page in headless Chromium on this machine, served from a
# local port: seconds from navigation to the first frame and to the menu's
# first frame, the site's size raw and compressed (gzip -9), and CPU seconds per
# 10 seconds of all Chromium's processes and of the page's renderer alone, at
# the menu with the pointer still and moved every 20 ms, and the same for a
# page of a bare canvas (what the browser itself spends); then the desktop's
# figures from scripts/measure.sh to compare with.
# SITE chooses a built site (default: build-web/site, built if missing);
# DESKTOP=0 leaves out the desktop's run.
set -euo pipefail
cd "$(dirname "$0")/.."
site=${SITE:-build-web/site}
window=10

if [ ! -f "$site/index.html" ]; then
    bash scripts/build-web.sh "$site"
fi
/usr/bin/python3 -c "import selenium" 2>/dev/null && command -v chromedriver >/dev/null ||
    { echo "measure-web.sh: selenium or chromedriver is missing (bash scripts/setup.sh)" >&2; exit 1; }

echo "== size of $site (gzip -9 per file)"
raw=0
packed=0
while IFS= read -r -d '' file; do
    size=$(stat -c %s "$file")
    small=$(gzip -9 -c "$file" | wc -c)
    printf '%10d %10d  %s\n' "$size" "$small" "${file#"$site"/}"
    raw=$((raw + size))
    packed=$((packed + small))
done < <(find "$site" -type f -print0 | sort -z)
awk -v r="$raw" -v p="$packed" 'BEGIN { printf "total: %.2f MB raw, %.2f MB compressed\n", r / 1e6, p / 1e6 }'

echo "== the page in headless Chromium"
SITE="$site" WINDOW="$window" /usr/bin/python3 - <<'EOF'
import os
import pathlib
import shutil
import sys
import tempfile
import time
import types

sys.path.insert(0, "tests/web")
import webplayer as wp

tz = wp.tz
window = float(os.environ["WINDOW"])


def processes(root):
    # Chromium's processes below the driver: pid -> (type, CPU seconds).
    tick = os.sysconf("SC_CLK_TCK")
    children, found = {}, {}
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            fields = open("/proc/%s/stat" % entry).read().rsplit(")", 1)[1].split()
            # Chromium rewrites its command line into one string.
            cmdline = open("/proc/%s/cmdline" % entry, "rb").read().replace(b"\0", b" ").split()
        except OSError:
            continue
        kind = next((part[7:].decode() for part in cmdline if part.startswith(b"--type=")), "browser")
        children.setdefault(int(fields[1]), []).append((int(entry), kind, (int(fields[11]) + int(fields[12])) / tick))
    todo = [root]
    while todo:
        for pid, kind, cpu in children.get(todo.pop(), []):
            found[pid] = (kind, cpu)
            todo.append(pid)
    return found


def cpu(root, during):
    # CPU seconds per 10 s of all processes and of the renderers while during() runs.
    before, start = processes(root), time.monotonic()
    during()
    after, seconds = processes(root), time.monotonic() - start
    spent = {pid: cpu - before.get(pid, (None, 0))[1] for pid, (_, cpu) in after.items()}
    renderers = sum(s for pid, s in spent.items() if after[pid][0] == "renderer")
    return "%.3f s all, %.3f s the page (CPU per 10 s)" % (10 * sum(spent.values()) / seconds, 10 * renderers / seconds)


def zigzag(page):
    # 500 steps, one every 20 ms, over the menu's buttons, as measure.sh does.
    start = time.monotonic()
    for i in range(int(window / 0.02)):
        page.move(160 + (i * 37) % 320, 120 + (i * 23) % 300)
        time.sleep(max(0, start + (i + 1) * 0.02 - time.monotonic()))


def standing_and_moving(browser, page, what):
    root = browser.driver.service.process.pid
    page.move(*tz.PARK)
    time.sleep(1)
    print("%s, pointer still:" % what, cpu(root, lambda: time.sleep(window)))
    print("%s, pointer moved every 20 ms:" % what, cpu(root, lambda: zigzag(page)))


args = types.SimpleNamespace(site=os.environ["SITE"], out="/tmp")
with wp.Browser(args, "measure") as browser:
    # The page's clock starts at navigation; a frame's callback notes the first frame.
    browser.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": """
        (function look() {
            if (window.tamzelon && window.tamzelon.frames > 0) window.firstFrameAt = performance.now();
            else requestAnimationFrame(look);
        })();"""})
    page = browser.open("?silent")
    looked, menu = 0, None
    while menu is None:
        now = page.js("performance.now()")
        tz.check(now < 30000, "no menu within 30 s")
        if page.js("window.tamzelon && window.tamzelon.frames") and tz.is_main_menu(page.screenshot()):
            menu = now
        else:
            looked = now
            time.sleep(0.02)
    print("first frame %.3f s after navigation; the menu's first frame between %.2f and %.2f s"
          % (page.js("window.firstFrameAt") / 1000, looked / 1000, menu / 1000))
    standing_and_moving(browser, page, "menu")

# The browser's own share: a page of a bare canvas, with no script, driven alike.
blank = tempfile.mkdtemp()
pathlib.Path(blank, "index.html").write_text(
    '<!doctype html><link rel="icon" href="data:,"><body style="margin:0">'
    '<canvas id="canvas" style="position:fixed;width:100%;height:100%"></canvas>')
args.site = blank
with wp.Browser(args, "blank") as browser:
    page = browser.open("")
    standing_and_moving(browser, page, "a bare canvas")
shutil.rmtree(blank)
EOF

if [ "${DESKTOP:-1}" != 0 ]; then
    echo "== the desktop (scripts/measure.sh)"
    bash scripts/measure.sh
fi
