// The ATS routes: the lines of each level letter the program sends point
// by point, drawn in the tiles of the chart symbols (navmarkers.js), under
// the symbols.
(function () {
    'use strict';

    var TILE = NavPage.TILE, worldX = NavPage.worldX, worldY = NavPage.worldY;
    var text = NavPage.text, toPos = NavPage.toPos;

    // ------------------------------------------------------------------
    // ATS routes: the lines of each level letter, drawn in the tiles of the
    // chart symbols, under the symbols.

    var ATS_COLORS = { L: '#4f7fb0', H: '#9c5a88', B: '#5a8a4f' };
    var atsLevels = {};
    var atsCurrent = null;
    var atsTimer = null;
    var atsLastCall = 0;   // when the last route call came (performance.now())
    var atsDrawn = null;   // the routes the tiles draw: [{ color, points, box }]

    function atsLevel(letter) {
        var key = text(letter).trim().charAt(0).toUpperCase() || '?';
        if (!atsLevels[key])
            atsLevels[key] = { routes: [], shown: false, dirty: false, color: ATS_COLORS[key] || '#7a7a7a' };
        return atsLevels[key];
    }

    // Routes come one call at a time (tens of thousands at start): they are
    // drawn once no call has come for 60 ms. One timer waits for that; a
    // timer set again at every call would cost more than the call.
    var ATS_QUIET_MS = 60;

    function scheduleAts() {
        atsLastCall = performance.now();
        if (!atsTimer)
            atsTimer = setTimeout(atsQuiet, ATS_QUIET_MS);
    }

    function atsQuiet() {
        var quiet = performance.now() - atsLastCall;
        if (quiet < ATS_QUIET_MS) {
            atsTimer = setTimeout(atsQuiet, ATS_QUIET_MS - quiet);
            return;
        }
        atsTimer = null;
        flushAts();
    }

    // Draws the shown routes that meet a tile into its context (in world
    // pixels of its zoom); a line may run past 180 degrees: its copies too.
    function drawRoutes(ctx, coords) {
        if (!atsDrawn || !atsDrawn.length)
            return;
        var scale = TILE * Math.pow(2, coords.z);
        var tx0 = coords.x * TILE - 2, ty0 = coords.y * TILE - 2;
        var tx1 = tx0 + TILE + 4, ty1 = ty0 + TILE + 4;
        ctx.save();
        ctx.lineWidth = 1.2;
        ctx.globalAlpha = 0.85;
        ctx.lineJoin = ctx.lineCap = 'round';
        atsDrawn.forEach(function (route) {
            var y0 = worldY(route.box[3], scale), y1 = worldY(route.box[1], scale);
            if (y1 < ty0 || y0 > ty1)
                return;
            for (var k = -360; k <= 360; k += 360) {
                var x0 = worldX(route.box[0] + k, scale), x1 = worldX(route.box[2] + k, scale);
                if (x1 < tx0 || x0 > tx1)
                    continue;
                var pts = route.points;
                ctx.beginPath();
                ctx.moveTo(worldX(pts[0][1] + k, scale), worldY(pts[0][0], scale));
                for (var i = 1; i < pts.length; ++i)
                    ctx.lineTo(worldX(pts[i][1] + k, scale), worldY(pts[i][0], scale));
                ctx.strokeStyle = route.color;
                ctx.stroke();
            }
        });
        ctx.restore();
    }

    // Builds the lines of the shown levels and draws them when they
    // changed; true when it drew.
    function flushAts() {
        if (atsTimer) {
            clearTimeout(atsTimer);
            atsTimer = null;
        }
        var changed = Object.keys(atsLevels).some(function (key) {
            var level = atsLevels[key];
            return level.dirty || level.shown !== level.drawn;
        });
        if (!changed)
            return false;
        var drawn = [];
        Object.keys(atsLevels).forEach(function (key) {
            var level = atsLevels[key];
            level.dirty = false;
            level.drawn = level.shown;
            if (!level.shown)
                return;
            level.routes.forEach(function (points) {
                if (points.length < 2)
                    return;
                var box = [Infinity, Infinity, -Infinity, -Infinity];
                points.forEach(function (p) {
                    box[0] = Math.min(box[0], p[1]);
                    box[1] = Math.min(box[1], p[0]);
                    box[2] = Math.max(box[2], p[1]);
                    box[3] = Math.max(box[3], p[0]);
                });
                drawn.push({ color: level.color, points: points, box: box });
            });
        });
        atsDrawn = drawn;
        NavPage.redrawSymbols();
        return true;
    }

    // Whether the lines of a level are on the map.
    function atsOnMap(level) {
        return level.drawn === true && level.routes.some(function (r) { return r.length >= 2; });
    }

    window.addATS = function (letter) {
        var level = atsLevel(letter);
        atsCurrent = { level: level, points: [] };
        level.routes.push(atsCurrent.points);
    };

    window.addToATS = function (pos) {
        var p = toPos(pos);
        if (!atsCurrent || !p)
            return;
        var points = atsCurrent.points;
        var lng = p.lng;
        if (points.length) {
            // keep the line continuous across the date line
            var prev = points[points.length - 1][1];
            while (lng - prev > 180) lng -= 360;
            while (lng - prev < -180) lng += 360;
        }
        points.push([p.lat, lng]);
        atsCurrent.level.dirty = true;
        NavPage.filedCalls += 1;
        scheduleAts();
    };

    window.showATS = function (letter, on) {
        var level = atsLevel(letter);
        level.shown = Number(on) !== 0 && !!on;
        scheduleAts();
    };

    // Every route line goes (clearNavData).
    function clearRoutes() {
        if (atsTimer) {
            clearTimeout(atsTimer);
            atsTimer = null;
        }
        atsLevels = {};
        atsCurrent = null;
        atsDrawn = null;
    }

    // For the page's other scripts.
    NavPage.ATS_COLORS = ATS_COLORS;
    NavPage.drawRoutes = drawRoutes;
    NavPage.flushAts = flushAts;
    NavPage.clearRoutes = clearRoutes;

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
        ats: function (letter) {
            flushAts();
            var level = atsLevels[text(letter).toUpperCase()];
            if (!level)
                return { routes: 0, points: 0, shown: false, onMap: false };
            var lines = level.routes.filter(function (r) { return r.length >= 2; });
            return {
                routes: lines.length,
                points: lines.reduce(function (sum, r) { return sum + r.length; }, 0),
                shown: level.shown,
                onMap: atsOnMap(level)
            };
        }
    });
})();
