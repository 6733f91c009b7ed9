// The KWin script that reports window activations to the program, run under node with KWin's objects stubbed:
// which D-Bus calls it makes for KWin 6 (windowActivated) and KWin 5 (clientActivated), with the program running
// and not.
//   node kwin_script_check.js PACKAGE_FOLDER
"use strict";
const fs = require("fs");
const path = require("path");
const vm = require("vm");
const assert = require("assert");

const metadata = JSON.parse(fs.readFileSync(path.join(process.argv[2], "metadata.json"), "utf8"));
const mainScript = path.join(process.argv[2], "contents", metadata["X-Plasma-MainScript"] || "");
const source = fs.readFileSync(mainScript, "utf8");
const service = ["io.github.ombrel.Ombrel", "/io/github/ombrel/Ombrel/Keyboard", "io.github.ombrel.Keyboard1",
                 "ApplicationActivated"];

// Loads the script into a fresh KWin of the given generation; returns what it recorded.
function load(generation, { running = true, active = null } = {}) {
    const calls = [];
    const handlers = [];
    const signal = { connect: (fn) => handlers.push(fn) };
    const workspace = generation === 6 ? { windowActivated: signal, activeWindow: active }
                                       : { clientActivated: signal, activeClient: active };
    const callDBus = (...args) => {
        const callback = typeof args[args.length - 1] === "function" ? args.pop() : null;
        calls.push(args);
        if (args[3] === "NameHasOwner" && callback) callback(running);
    };
    vm.runInNewContext(source, { workspace, callDBus }, { filename: mainScript });
    assert.strictEqual(handlers.length, 1, `KWin ${generation}: one handler connected`);
    const activations = () => calls.filter((c) => c[3] === "ApplicationActivated").map((c) => {
        assert.deepStrictEqual(c.slice(0, 4), service);
        assert.strictEqual(c.length, 5, "one argument: the id");
        return c[4];
    });
    return { activate: (window) => handlers[0](window), activations, calls };
}

let passed = 0;
function check(name, fn) {
    try {
        fn();
        passed++;
        console.log(`PASS ${name}`);
    } catch (e) {
        console.log(`FAIL ${name}\n    ${e.message.split("\n").join("\n    ")}`);
        process.exitCode = 1;
    }
}

check("the package is a KWin script (KWin 6 and 5) with a JavaScript main script", () => {
    assert.strictEqual(metadata.KPackageStructure, "KWin/Script");
    assert.deepStrictEqual(metadata.KPlugin.ServiceTypes, ["KWin/Script"]);
    assert.strictEqual(metadata["X-Plasma-API"], "javascript");
    assert.strictEqual(metadata.KPlugin.Id, path.basename(path.resolve(process.argv[2])), "installed under its id");
});

for (const generation of [6, 5]) {
    check(`KWin ${generation}: the desktop file id, else the window class, of each activated window`, () => {
        const kwin = load(generation);
        kwin.activate({ desktopFileName: "org.kde.konsole", resourceClass: "konsole" });
        kwin.activate({ desktopFileName: "", resourceClass: "steam_app_570" });
        kwin.activate({ resourceClass: "xeyes" }); // an X11 program under Xwayland has no desktop file name
        assert.deepStrictEqual(kwin.activations(), ["org.kde.konsole", "steam_app_570", "xeyes"]);
    });
    check(`KWin ${generation}: nothing for no window, a window without an id or an id too long`, () => {
        const kwin = load(generation);
        kwin.activate(null);
        kwin.activate({ desktopFileName: "", resourceClass: "" });
        kwin.activate({ desktopFileName: "x".repeat(256) });
        assert.deepStrictEqual(kwin.activations(), []);
    });
    check(`KWin ${generation}: the window in front when the script starts is reported`, () => {
        const kwin = load(generation, { active: { desktopFileName: "firefox" } });
        assert.deepStrictEqual(kwin.activations(), ["firefox"]);
    });
    check(`KWin ${generation}: a program that is not running is not started by an activation`, () => {
        const kwin = load(generation, { running: false });
        kwin.activate({ desktopFileName: "org.kde.konsole" });
        assert.deepStrictEqual(kwin.activations(), []);
        assert.deepStrictEqual(kwin.calls.map((c) => c.slice(0, 5)),
                               [["org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                 "NameHasOwner", "io.github.ombrel.Ombrel"]]);
    });
}
console.log(`kwin script: ${passed} passed`);
