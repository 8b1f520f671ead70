// The page around the game: loads the program, keeps what the browser holds
// for it (canvas, sound, storage, the lock that one tab plays), its controls,
// and its messages when loading fails or the game has ended.
//
// Test hook, window.tamzelon:
//   state     "loading", "running" (the first picture is shown), "ended" or "failed"
//   frames    pictures shown so far
//   picture() the picture shown last, 640 x 480, as a base64 PNG (no
//             "data:" prefix); null before the first and after the end
//   message   the text the page shows when loading failed or the game ended
// Address options: ?silent plays without sound; ?seed=N puts N in place of
// the seed the game takes from the clock (a known field).
'use strict';

(function () {
    const STORE = 'files';
    const GAME_FOLDER = '/tamzelon';
    const TABLE = GAME_FOLDER + '/highscore.sav';
    const LOAD_LIMIT_MS = 30000;
    const FRAME_LIMIT_MS = 100;
    const LEAVING_WAITS = 1000;
    const PENDING = 'tamzelon-pending:'; // files kept while the tab closed

    const options = new URLSearchParams(location.search);
    const silent = options.has('silent');
    const seed = /^\d{1,9}$/.test(options.get('seed') || '') ? Number(options.get('seed')) : -1;

    const canvas = document.getElementById('canvas');
    const context2d = canvas.getContext('2d');
    const messageBox = document.getElementById('message');
    const messageText = document.getElementById('message-text');
    const restartButton = document.getElementById('restart');
    const noticeBox = document.getElementById('notice');
    const controls = document.getElementById('controls');

    const hook = {
        state: 'loading',
        frames: 0,
        message: '',
        picture: () => picturePng(),
    };
    window.tamzelon = hook;

    let storage = null; // the IndexedDB database, null where the browser refuses it
    let claimed = false; // this tab holds the lock on the game's folder
    let releaseLock = () => {};
    let audio = null;
    let image = null; // the ImageData over the program's area pixels
    let wakeWait = null; // ends the program's wait for input
    const waits = new Set(); // ends every wait of the program
    let leaving = false; // the tab closes: the program's waits end at once
    let waitsWhileLeaving = 0;
    let replacing = false; // a loaded table replaces the stored one: nothing saved over it

    // ---- messages

    function show(text, offerRestart) {
        hook.message = text;
        messageText.textContent = text;
        restartButton.hidden = !offerRestart;
        messageBox.hidden = false;
    }

    // A word that the game goes on without something; it goes by itself.
    let noticeTimer = 0;
    function notice(text) {
        noticeBox.textContent = text;
        noticeBox.hidden = false;
        clearTimeout(noticeTimer);
        noticeTimer = setTimeout(() => { noticeBox.hidden = true; }, 10000);
    }
    noticeBox.addEventListener('click', () => { noticeBox.hidden = true; });

    // The program is over: its sound, its lock and its listeners go.
    function stop() {
        stopAudio();
        releaseLock();
        try {
            Module._tamzelon_ended();
        } catch (e) {
            // an aborted program has no listeners left to remove
        }
        restartButton.focus();
    }

    function fail(text) {
        if (hook.state === 'failed' || hook.state === 'ended')
            return;
        hook.state = 'failed';
        show(text, true);
        stop();
    }

    function ended() {
        if (hook.state === 'failed')
            return;
        hook.state = 'ended';
        show('Das Spiel ist beendet.', true);
        stop();
    }

    restartButton.addEventListener('click', () => location.reload());

    // ---- storage: every file the game commits, by its path

    function openStorage() {
        return new Promise((resolve) => {
            let request;
            try {
                request = indexedDB.open('tamzelon', 1);
            } catch (e) {
                resolve(null);
                return;
            }
            request.onupgradeneeded = () => request.result.createObjectStore(STORE);
            request.onsuccess = () => resolve(request.result);
            request.onerror = () => resolve(null);
            request.onblocked = () => resolve(null);
        });
    }

    function storedFiles(db) {
        return new Promise((resolve, reject) => {
            const files = new Map();
            const cursor = db.transaction(STORE, 'readonly').objectStore(STORE).openCursor();
            cursor.onsuccess = () => {
                const at = cursor.result;
                if (!at) {
                    resolve(files);
                    return;
                }
                files.set(String(at.key), new Uint8Array(at.value));
                at.continue();
            };
            cursor.onerror = () => reject(cursor.error);
        });
    }

    function store(path, bytes) {
        return new Promise((resolve, reject) => {
            const transaction = storage.transaction(STORE, 'readwrite');
            transaction.objectStore(STORE).put(bytes, path);
            transaction.oncomplete = () => resolve();
            transaction.onerror = () => reject(transaction.error);
            transaction.onabort = () => reject(transaction.error);
        });
    }

    function writeIntoGame(path, bytes) {
        const folder = path.substring(0, path.lastIndexOf('/'));
        let at = '';
        for (const part of folder.split('/').filter(Boolean)) {
            at += '/' + part;
            try {
                FS.mkdir(at);
            } catch (e) {
                // there already
            }
        }
        FS.writeFile(path, bytes);
    }

    // ---- the lock: one tab plays on the stored table

    function claimFolder() {
        if (!navigator.locks)
            return Promise.resolve(true); // no way to tell: played unguarded
        return new Promise((resolve) => {
            navigator.locks.request('tamzelon-ordner', { ifAvailable: true }, (lock) => {
                resolve(lock !== null);
                if (lock === null)
                    return undefined;
                return new Promise((release) => { releaseLock = release; });
            }).catch(() => resolve(true));
        });
    }

    // Before the program starts: the lock, then the stored files in place.
    async function prepare() {
        claimed = await claimFolder();
        storage = await openStorage();
        if (!storage) {
            notice('Der Browser gibt dem Spiel keinen Speicher: Highscores bleiben nicht erhalten.');
            return;
        }
        try {
            for (const [path, bytes] of await storedFiles(storage))
                writeIntoGame(path, bytes);
            await takePendingFiles();
        } catch (e) {
            notice('Der Speicher des Browsers ließ sich nicht lesen: ' + e);
        }
    }

    // Files a closing tab kept aside are newer than the stored ones.
    async function takePendingFiles() {
        let pending;
        try {
            pending = Object.keys(localStorage).filter((key) => key.startsWith(PENDING));
        } catch (e) {
            return;
        }
        for (const key of pending) {
            const path = key.substring(PENDING.length);
            const bytes = Uint8Array.from(atob(localStorage.getItem(key)), (c) => c.charCodeAt(0));
            writeIntoGame(path, bytes);
            await store(path, bytes);
            localStorage.removeItem(key);
        }
    }

    // ---- sound

    function startAudioOnGesture() {
        const resume = () => {
            if (audio && audio.context.state === 'suspended')
                audio.context.resume();
        };
        for (const type of ['pointerdown', 'keydown', 'touchend'])
            window.addEventListener(type, resume, true);
    }

    function stopAudio() {
        if (!audio)
            return;
        audio.node.disconnect();
        audio.context.close();
        audio = null;
    }

    // ---- the program's calls (platform/web/pagecalls.h)

    const page = {
        areaSize() {
            const ratio = window.devicePixelRatio || 1;
            return [Math.max(1, Math.round(canvas.clientWidth * ratio)),
                    Math.max(1, Math.round(canvas.clientHeight * ratio))];
        },
        showArea(pixels, width, height, x, y, w, h) {
            if (canvas.width !== width || canvas.height !== height) {
                canvas.width = width;
                canvas.height = height;
            }
            const heap = Module.HEAPU8;
            if (!image || image.data.buffer !== heap.buffer || image.data.byteOffset !== pixels ||
                image.width !== width || image.height !== height) {
                image = new ImageData(new Uint8ClampedArray(heap.buffer, pixels, width * height * 4),
                                      width, height);
            }
            context2d.putImageData(image, 0, 0, x, y, w, h);
        },
        // Resolves when the browser has painted the frame (at once where it
        // paints none, a hidden tab, after a while).
        frameShown() {
            hook.frames++;
            if (hook.state === 'loading') {
                hook.state = 'running';
                messageBox.hidden = true;
            }
            return programWait((resolve) => {
                requestAnimationFrame(() => resolve());
                setTimeout(resolve, FRAME_LIMIT_MS);
            });
        },
        sleep(ms) {
            return programWait((resolve) => setTimeout(resolve, ms));
        },
        showPointer(visible) {
            canvas.style.cursor = visible ? 'default' : 'none';
        },
        fullScreen(on) {
            const root = document.documentElement;
            if (on === !!document.fullscreenElement)
                return true;
            if (on && !root.requestFullscreen)
                return false;
            (on ? root.requestFullscreen() : document.exitFullscreen()).catch(() => {});
            return true;
        },
        isFullScreen() {
            return !!document.fullscreenElement;
        },
        openAudio() {
            const Context = window.AudioContext || window.webkitAudioContext;
            if (!Context || audio)
                return 0;
            try {
                const context = new Context();
                const node = context.createScriptProcessor(2048, 0, 2);
                node.onaudioprocess = (event) => {
                    const left = event.outputBuffer.getChannelData(0);
                    const right = event.outputBuffer.getChannelData(1);
                    const frames = left.length;
                    const at = hook.state === 'running' ? Module._tamzelon_audio_fill(frames, 2) : 0;
                    if (!at) {
                        left.fill(0);
                        right.fill(0);
                        return;
                    }
                    const samples = Module.HEAP16.subarray(at >> 1, (at >> 1) + 2 * frames);
                    for (let i = 0; i < frames; i++) {
                        left[i] = samples[2 * i] / 32768;
                        right[i] = samples[2 * i + 1] / 32768;
                    }
                };
                node.connect(context.destination);
                audio = { context, node };
                return context.sampleRate;
            } catch (e) {
                return 0;
            }
        },
        closeAudio() {
            stopAudio();
        },
        keepFile(path) {
            if (!storage)
                return false;
            if (!path.startsWith('/'))
                path = FS.cwd().replace(/\/$/, '') + '/' + path;
            let bytes;
            try {
                bytes = FS.readFile(path);
            } catch (e) {
                return false; // unreadable: the game is told it was not saved
            }
            // A closing tab may go before the storage has taken the file:
            // a copy goes where it is kept at once, for the next start.
            if (leaving) {
                try {
                    localStorage.setItem(PENDING + path, btoa(String.fromCharCode(...bytes)));
                } catch (e) {
                    // the storage below is all there is
                }
            }
            store(path, bytes).catch((e) => {
                notice('Der Browser hat die Highscores nicht gespeichert: ' + e);
            });
            return true;
        },
        folderClaimed() {
            return claimed;
        },
        seed() {
            return seed;
        },
        waitForInput(timeoutMs) {
            return programWait((resolve) => {
                if (timeoutMs >= 0)
                    setTimeout(resolve, timeoutMs);
            }, true);
        },
        wake() {
            const wake = wakeWait;
            wakeWait = null;
            if (wake)
                wake();
        },
    };

    // A wait of the program, which the tab's closing also ends (and input,
    // for a wait for input). While the tab closes, the program runs on
    // without waiting, to its end, but never more than so many waits.
    function programWait(start, input) {
        return new Promise((resolve) => {
            if (leaving) {
                if (++waitsWhileLeaving <= LEAVING_WAITS)
                    resolve();
                return;
            }
            const end = () => {
                waits.delete(end);
                if (wakeWait === end)
                    wakeWait = null;
                resolve();
            };
            waits.add(end);
            if (input)
                wakeWait = end;
            start(end);
        });
    }

    // Closing the tab is closing the game's window: the game saves what it
    // would save then (its table), and the storage gets it before the page goes.
    window.addEventListener('pagehide', () => {
        if (hook.state !== 'running' || replacing)
            return;
        leaving = true;
        Module._tamzelon_close();
        for (const end of [...waits])
            end();
    });

    // ---- the test hook's picture

    function picturePng() {
        if (hook.state !== 'running')
            return null;
        const size = Module._malloc(8);
        const at = Module._tamzelon_picture(size, size + 4);
        const width = Module.HEAP32[size >> 2];
        const height = Module.HEAP32[(size >> 2) + 1];
        Module._free(size);
        if (!at)
            return null;
        const copy = document.createElement('canvas');
        copy.width = width;
        copy.height = height;
        const bytes = new Uint8ClampedArray(Module.HEAPU8.subarray(at, at + width * height * 4));
        copy.getContext('2d').putImageData(new ImageData(bytes, width, height), 0, 0);
        return copy.toDataURL('image/png').replace(/^data:image\/png;base64,/, '');
    }

    // ---- the page's controls

    // The controls lie beside the picture where the window leaves room for
    // them, else the picture gives up their height; full screen has none.
    function layout() {
        const full = !!document.fullscreenElement;
        controls.hidden = full;
        let height = window.innerHeight;
        if (!full) {
            const scale = Math.min(window.innerWidth / 640, height / 480);
            const barHeight = controls.offsetHeight + 8;
            const barWidth = controls.offsetWidth + 8;
            const roomBelow = (height - 480 * scale) / 2 >= barHeight;
            const roomBeside = (window.innerWidth - 640 * scale) / 2 >= barWidth;
            if (!roomBelow && !roomBeside)
                height -= barHeight;
        }
        canvas.style.height = height + 'px';
    }
    window.addEventListener('resize', layout);
    // The keys are the game's again after a control was used.
    controls.addEventListener('click', () => canvas.focus());
    document.addEventListener('fullscreenchange', layout);
    layout();

    document.getElementById('fullscreen').addEventListener('click', () => {
        page.fullScreen(!document.fullscreenElement);
        canvas.focus();
    });

    document.getElementById('download').addEventListener('click', async () => {
        let bytes = null;
        try {
            bytes = FS.readFile(TABLE);
        } catch (e) {
            bytes = null;
        }
        if (!bytes) {
            notice('Es gibt noch keine gespeicherten Highscores.');
            return;
        }
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
        link.download = 'highscore.sav';
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(() => URL.revokeObjectURL(link.href), 1000);
    });

    // A loaded table replaces the stored one; the game reads it at its start.
    document.getElementById('upload').addEventListener('change', async (event) => {
        const file = event.target.files[0];
        event.target.value = '';
        if (!file)
            return;
        if (!claimed) {
            notice('Das Spiel läuft bereits in einem anderen Fenster: dort laden.');
            return;
        }
        if (!storage) {
            notice('Ohne Speicher des Browsers lässt sich keine Tabelle laden.');
            return;
        }
        try {
            const bytes = new Uint8Array(await file.arrayBuffer());
            replacing = true;
            await store(TABLE, bytes);
            try {
                localStorage.removeItem(PENDING + TABLE);
            } catch (e) {
                // nothing kept aside
            }
            location.reload();
        } catch (e) {
            replacing = false;
            notice('Die Tabelle ließ sich nicht laden: ' + e);
        }
    });

    // ---- loading and running the program

    window.addEventListener('error', (event) => {
        if (hook.state === 'loading')
            fail('Das Spiel konnte nicht geladen werden: ' + (event.message || 'unbekannter Fehler'));
    });

    if (typeof WebAssembly !== 'object') {
        fail('Dieser Browser kann Tamzelon nicht spielen: ihm fehlt WebAssembly.');
        return;
    }

    function start() {
        const args = ['tamzelon'].concat(silent ? ['--silent'] : []);
        const argv = Module._malloc(4 * (args.length + 1));
        args.forEach((arg, i) => {
            const bytes = new TextEncoder().encode(arg + '\0');
            const at = Module._malloc(bytes.length);
            Module.HEAPU8.set(bytes, at);
            Module.HEAP32[(argv >> 2) + i] = at;
        });
        Module.HEAP32[(argv >> 2) + args.length] = 0;
        Promise.resolve(Module.ccall('main', 'number', ['number', 'number'], [args.length, argv],
                                     { async: true }))
            .then(ended, (e) => fail('Das Spiel ist abgebrochen: ' + e));
    }

    window.Module = {
        canvas,
        tamzelonPage: page,
        preRun: [() => {
            try {
                FS.mkdir(GAME_FOLDER);
            } catch (e) {
                // made by the packaged sounds
            }
            FS.chdir(GAME_FOLDER);
            Module.addRunDependency('tamzelon-storage');
            prepare().finally(() => Module.removeRunDependency('tamzelon-storage'));
        }],
        onRuntimeInitialized: start,
        onAbort: (what) => fail((hook.state === 'loading' ? 'Das Spiel konnte nicht geladen werden: '
                                                          : 'Das Spiel ist abgebrochen: ') + what),
        print: (text) => console.log(text),
        printErr: (text) => console.warn(text),
    };

    setTimeout(() => {
        if (hook.state === 'loading')
            fail('Das Spiel lädt nicht: bitte die Seite neu laden.');
    }, LOAD_LIMIT_MS);
    startAudioOnGesture();

    const script = document.createElement('script');
    script.src = 'tamzelon.js';
    script.onerror = () => fail('Das Spiel konnte nicht geladen werden (tamzelon.js).');
    document.body.appendChild(script);
})();
