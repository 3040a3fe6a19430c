// The Leaflet map of the page, its panes, and the tiles in which the page
// draws what it draws from its own data (land and borders, ATS routes,
// chart symbols): Web Mercator projection, canvases, the queue that draws
// tiles a few per frame, and TiledLayer, the layer these tiles make.
(function () {
    'use strict';

    // ------------------------------------------------------------------
    // The Leaflet map.

    var container = document.getElementById('map_canvas');
    var lmap = L.map(container, {
        center: [49, 2],
        zoom: 6,
        minZoom: 2,
        maxZoom: 18,
        worldCopyJump: true,
        zoomSnap: 1,
        attributionControl: true
    });
    // No links in the map: a click on one would take the view away from the page.
    lmap.attributionControl.setPrefix('Leaflet');
    lmap.attributionControl.addAttribution('Natural Earth');

    function pane(name, zIndex) {
        var p = lmap.createPane(name);
        p.style.zIndex = String(zIndex);
        return p;
    }
    pane('basePane', 150);      // land and borders, under the online tiles
    pane('rwyPane', 390);
    pane('navPane', 400);       // the ATS routes and the chart symbols
    pane('procPane', 420);
    pane('fpPane', 430);

    var rwyRenderer = L.svg({ pane: 'rwyPane' });
    var procRenderer = L.svg({ pane: 'procPane' });
    var fpRenderer = L.svg({ pane: 'fpPane' });

    // ------------------------------------------------------------------
    // Tiled drawing. What the page draws from its own data (land, borders,
    // ATS routes, chart symbols) is drawn in tiles of 256 pixels that stay
    // while the map pans: a move draws only the tiles coming into view, a
    // zoom the tiles of the new scale.

    var TILE = 256;
    var MAX_LAT = 85.0511287798;

    // World pixels of a position at a scale (256 x 2^zoom), Web Mercator.
    function worldX(lng, scale) {
        return scale * (lng + 180) / 360;
    }
    function worldY(lat, scale) {
        var s = Math.sin(Math.max(-MAX_LAT, Math.min(MAX_LAT, lat)) * Math.PI / 180);
        return scale * (0.5 - Math.log((1 + s) / (1 - s)) / (4 * Math.PI));
    }
    function lngAt(x, scale) {
        return x / scale * 360 - 180;
    }
    function latAt(y, scale) {
        var n = Math.PI * (1 - 2 * y / scale);
        return 180 / Math.PI * Math.atan(0.5 * (Math.exp(n) - Math.exp(-n)));
    }

    // A tile's canvas at the screen's pixel ratio; its context draws in
    // world pixels of the tile's zoom. The canvases of tiles that left the
    // map are used again: the engine sets up a new canvas slowly (a first
    // putImageData on one costs a hundred later ones). They are drawn and
    // read by the page's processor (willReadFrequently): a tile is drawn
    // once and moved, never animated.
    var canvasPool = [];

    // A tile's side in device pixels.
    function tileDevicePixels() {
        return Math.round(TILE * (window.devicePixelRatio || 1));
    }

    function newTileCanvas(size) {
        var canvas = document.createElement('canvas');
        canvas.width = canvas.height = size;
        return canvas;
    }

    // The first tiles of a pan or a zoom would wait for new canvases: a few
    // dozen are set up beforehand, while the page is idle.
    var POOL_READY = 96;
    function fillCanvasPool(deadline) {
        var size = tileDevicePixels();
        while (canvasPool.length < POOL_READY && deadline.timeRemaining() > 2) {
            var canvas = newTileCanvas(size);
            var ctx = canvas.getContext('2d', { willReadFrequently: true });
            ctx.putImageData(ctx.createImageData(1, 1), 0, 0);
            canvasPool.push(canvas);
        }
        if (canvasPool.length < POOL_READY)
            idleCall(fillCanvasPool);
    }
    function idleCall(fn) {
        if (window.requestIdleCallback)
            window.requestIdleCallback(fn, { timeout: 5000 });
        else
            setTimeout(function () { fn({ timeRemaining: function () { return 8; } }); }, 50);
    }
    idleCall(fillCanvasPool);

    function tileCanvas(coords) {
        var ratio = window.devicePixelRatio || 1;
        var size = tileDevicePixels();
        var canvas = canvasPool.pop();
        if (!canvas || canvas.width !== size)
            canvas = newTileCanvas(size);
        var ctx = canvas.getContext('2d', { willReadFrequently: true });
        ctx.setTransform(1, 0, 0, 1, 0, 0);
        ctx.globalAlpha = 1;
        ctx.globalCompositeOperation = 'source-over';
        ctx.setLineDash([]);
        ctx.clearRect(0, 0, size, size);
        ctx.setTransform(ratio, 0, 0, ratio, -coords.x * TILE * ratio, -coords.y * TILE * ratio);
        return { canvas: canvas, ctx: ctx, ratio: ratio };
    }

    // Tiles are drawn a few per frame, within a budget, those nearest the
    // middle of the view first: a zoom or a long pan brings dozens of tiles,
    // and drawing them all at once would hold the frame. A change of the
    // data draws the tiles in view at once instead (drawAtOnce: their tile
    // range), so that nothing flickers; those of the margin around the view
    // are queued as usual.
    var FRAME_BUDGET_MS = 7;
    var drawQueue = [];
    var drawQueued = false;
    var drawAtOnce = null;

    function queueTileDraw(job) {
        drawQueue.push(job);
        scheduleTileDraws();
    }

    // Right after the next frame has gone out: the drawing takes the idle
    // part of the frame, not the part that makes the frame.
    function scheduleTileDraws() {
        if (drawQueued || !drawQueue.length)
            return;
        drawQueued = true;
        requestAnimationFrame(function () {
            setTimeout(drawQueuedTiles, 0);
        });
    }

    // Distance in tiles of a job's tile from the middle of its map's view;
    // tiles of another zoom come last.
    function tileDistance(job) {
        var map = job.layer._map;
        if (!map)
            return Infinity;
        var zoom = Math.round(map.getZoom());
        if (job.coords.z !== zoom)
            return 1e9;
        var c = map.project(map.getCenter(), zoom);
        var dx = (job.coords.x + 0.5) * TILE - c.x, dy = (job.coords.y + 0.5) * TILE - c.y;
        return dx * dx + dy * dy;
    }

    function drawQueuedTiles() {
        drawQueued = false;
        var start = performance.now();
        drawQueue = drawQueue.filter(function (job) { return !job.cancelled && job.layer._map; });
        drawQueue.forEach(function (job) { job.distance = tileDistance(job); });
        drawQueue.sort(function (a, b) { return a.distance - b.distance; });
        var n = 0;
        while (n < drawQueue.length && (n === 0 || performance.now() - start < FRAME_BUDGET_MS)) {
            var job = drawQueue[n++];
            drawJob(job);
            // The engine records canvas drawing and rasterises it later, in
            // the frame that shows it; reading a pixel rasterises the tile
            // now, within the budget of the frame that drew it.
            job.ctx.getImageData(0, 0, 1, 1);
            job.done(null, job.canvas);
        }
        drawQueue = drawQueue.slice(n);
        scheduleTileDraws();
    }

    function drawJob(job) {
        job.cancelled = true;
        if (job.canvas._job === job)
            job.canvas._job = null;
        job.layer.drawTile(job.ctx, job.coords, job.ratio);
    }

    // While the aircraft is shown, tiles are made and drawn for a margin
    // around the view as well: a map that follows it a pixel or two a frame
    // finds the tiles coming into view drawn already. (Otherwise the margin
    // would only add work, to the marker load first of all.)
    function tileMargin() {
        return NavPage.aircraftShown() ? TILE / 2 : 0;
    }
    // Until navaircraft.js says otherwise.
    NavPage.aircraftShown = function () { return false; };

    var TiledLayer = L.GridLayer.extend({
        options: { tileSize: TILE, updateWhenIdle: false, updateWhenZooming: false, keepBuffer: 3 },

        _getTiledPixelBounds: function (center) {
            var view = L.GridLayer.prototype._getTiledPixelBounds.call(this, center);
            var margin = tileMargin();
            return margin ? L.bounds(view.min.subtract([margin, margin]), view.max.add([margin, margin])) : view;
        },

        initialize: function (options) {
            L.setOptions(this, options);
            this.on('tileunload', function (e) {
                if (e.tile._job)
                    e.tile._job.cancelled = true;
                e.tile._job = null;
                if (canvasPool.length < 160 && e.tile.width === tileDevicePixels())
                    canvasPool.push(e.tile);
            });
        },

        // Asynchronous in Leaflet's sense (a second parameter): `done` says
        // when the tile is drawn.
        createTile: function (coords, done) {
            var tile = tileCanvas(coords);
            tile.canvas.className = 'leaflet-tile';
            var job = { layer: this, coords: coords, canvas: tile.canvas, ctx: tile.ctx, ratio: tile.ratio, done: done };
            tile.canvas._job = job;
            if (drawAtOnce && drawAtOnce.contains(coords)) {
                // Leaflet files the tile when this returns: ready right after.
                drawJob(job);
                Promise.resolve().then(function () { done(null, tile.canvas); });
                return tile.canvas;
            }
            queueTileDraw(job);
            return tile.canvas;
        },

        // Every tile in view drawn again now.
        redrawAtOnce: function () {
            var map = this._map;
            if (!map)
                return;
            drawAtOnce = this._pxBoundsToTileRange(L.GridLayer.prototype._getTiledPixelBounds.call(this, map.getCenter()));
            try {
                this.redraw();
            } finally {
                drawAtOnce = null;
            }
        },

        // Drawn at once: shown at once, without the fading in of tiles
        // that arrive from a server (which would repaint them for frames).
        _tileReady: function (coords, err, tile) {
            var map = this._map;
            if (!map)
                return;
            var fade = map._fadeAnimated;
            map._fadeAnimated = false;
            try {
                L.GridLayer.prototype._tileReady.call(this, coords, err, tile);
            } finally {
                map._fadeAnimated = fade;
            }
        }
    });

    // How many tiles of the view the page's tiled layers have not drawn yet.
    function tilesMissing() {
        var missing = 0;
        lmap.eachLayer(function (layer) {
            if (!(layer instanceof TiledLayer))
                return;
            if (layer._tileZoom === undefined) {
                missing += 1;
                return;
            }
            var view = L.GridLayer.prototype._getTiledPixelBounds.call(layer, lmap.getCenter());
            var range = layer._pxBoundsToTileRange(view);
            for (var y = range.min.y; y <= range.max.y; ++y) {
                for (var x = range.min.x; x <= range.max.x; ++x) {
                    var coords = L.point(x, y);
                    coords.z = layer._tileZoom;
                    if (!layer._isValidTile(coords))
                        continue;
                    var tile = layer._tiles[layer._tileCoordsToKey(coords)];
                    if (!tile || !tile.loaded)
                        missing += 1;
                }
            }
        });
        return missing;
    }

    // For the page's other scripts.
    NavPage.container = container;
    NavPage.lmap = lmap;
    NavPage.rwyRenderer = rwyRenderer;
    NavPage.procRenderer = procRenderer;
    NavPage.fpRenderer = fpRenderer;
    NavPage.TILE = TILE;
    NavPage.worldX = worldX;
    NavPage.worldY = worldY;
    NavPage.lngAt = lngAt;
    NavPage.latAt = latAt;
    NavPage.TiledLayer = TiledLayer;

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
        tilesMissing: tilesMissing
    });
})();
