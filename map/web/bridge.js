// Page to program: window.mainWindow.
//
// The program injects this file (after Qt's qwebchannel.js) when the
// document is created, and the pages load it too so that they also work
// opened in a plain browser. It creates window.mainWindow at once, with one
// method per slot the program offers to the page. Calls made before the web
// channel is up are queued and delivered, in order, once it is; without a
// channel (no `qt` object, as in a plain browser) calls are dropped.
(function () {
    'use strict';

    if (window.mainWindow && window.mainWindow.__corvaneBridge)
        return;   // already installed (injected, then loaded by the page)

    var SLOTS = [
        'searchInTable', 'sFndCenterAt', 'sFpCenterAt', 'sFpLineDel', 'sFpLineUp',
        'sFpLineDown', 'sViewApt', 'sViewVor', 'sViewNdbRte', 'sViewNdbTerm',
        'sViewWptRte', 'sViewWptTerm', 'sViewWptVfr', 'sViewAtsLo', 'sViewAtsHi',
        'sViewAtsB', 'sViewBdry', 'sViewDock', 'sInitGoogleMap', 'doSomething',
        'doCenter', 'doZoom', 'doMoveSIT', 'doData', 'doViewRwy',
        'sAddAptToFp', 'sAddNavToFp', 'sAddWptToFp', 'sAddNewWptToFp', 'sAddSitToFp',
        'sAddWptToDB', 'sAddNavToDB', 'sDelNavFromDB', 'sDelWptFromDB'
    ];
    var MAX_QUEUE = 10000;        // a page without a channel never grows without bound
    var GIVE_UP_AFTER_LOAD = 3000; // ms after the load event

    var state = 'waiting';        // 'waiting' | 'connecting' | 'ready' | 'absent'
    var queue = [];
    var target = null;

    function deliver(name, args) {
        var slot = target && target[name];
        if (typeof slot !== 'function') {
            console.warn('mainWindow: the program offers no ' + name);
            return;
        }
        try {
            slot.apply(target, args);
        } catch (e) {
            console.warn('mainWindow.' + name + ': ' + e);
        }
    }

    function flush() {
        var pending = queue;
        queue = [];
        if (state !== 'ready')
            return;
        for (var i = 0; i < pending.length; ++i)
            deliver(pending[i][0], pending[i][1]);
    }

    function call(name, args) {
        if (state === 'ready')
            deliver(name, args);
        else if (state === 'waiting' || state === 'connecting') {
            if (queue.length < MAX_QUEUE)
                queue.push([name, args]);
        }
        // 'absent': dropped
    }

    var proxy = { __corvaneBridge: true };
    SLOTS.forEach(function (name) {
        proxy[name] = function () {
            call(name, Array.prototype.slice.call(arguments));
        };
    });
    // Read-only: the state of the link, for diagnostics and tests.
    Object.defineProperty(proxy, '__state', { get: function () { return state; } });
    Object.defineProperty(proxy, '__queued', { get: function () { return queue.length; } });
    Object.defineProperty(window, 'mainWindow', {
        value: proxy, writable: false, configurable: false, enumerable: true
    });

    function connect() {
        if (state !== 'waiting')
            return true;
        if (typeof qt === 'undefined' || !qt || !qt.webChannelTransport
                || typeof QWebChannel !== 'function')
            return false;
        state = 'connecting';
        try {
            new QWebChannel(qt.webChannelTransport, function (channel) {
                target = channel.objects.mainWindow || null;
                state = target ? 'ready' : 'absent';
                if (!target)
                    console.warn('mainWindow: the channel publishes no mainWindow');
                flush();
            });
        } catch (e) {
            console.warn('mainWindow: no web channel: ' + e);
            state = 'absent';
            queue = [];
        }
        return true;
    }

    function giveUp() {
        if (!connect() && state === 'waiting') {
            state = 'absent';
            queue = [];
        }
    }

    if (!connect()) {
        // The transport may be installed a little after the document is
        // created: try again as the page loads, then give up.
        var timer = setInterval(function () {
            if (connect())
                clearInterval(timer);
        }, 50);
        document.addEventListener('DOMContentLoaded', connect);
        window.addEventListener('load', function () {
            setTimeout(function () {
                clearInterval(timer);
                giveUp();
            }, GIVE_UP_AFTER_LOAD);
        });
    }
})();
