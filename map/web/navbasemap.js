// The base map: Natural Earth land, coastlines and borders drawn offline
// in tiles, the online tiles the user may switch on, and the scale.
(function () {
    'use strict';

    var T = NavPage.T, container = NavPage.container, lmap = NavPage.lmap;
    var TILE = NavPage.TILE, worldX = NavPage.worldX, worldY = NavPage.worldY;
    var TiledLayer = NavPage.TiledLayer;

    // ------------------------------------------------------------------
    // Offline base map: Natural Earth land, coastlines and borders.

    var baseInfo = { land: 0, borders: 0 };

    // The shapes of GeoJSON features in Mercator units (the world is one
    // unit square): rings (or lines) cut into chunks of CHUNK points, each
    // chunk sharing its last point with the next, each with its box.
    var CHUNK = 32;

    function shapesOf(geojson) {
        var shapes = [];
        function add(rings) {
            var box = [Infinity, Infinity, -Infinity, -Infinity];
            var out = rings.filter(function (ring) { return ring.length > 1; }).map(function (ring) {
                var n = ring.length;
                var pts = new Float64Array(2 * n);
                ring.forEach(function (c, i) {
                    pts[2 * i] = worldX(c[0], 1);
                    pts[2 * i + 1] = worldY(c[1], 1);
                });
                var chunks = Math.max(1, Math.ceil((n - 1) / CHUNK));
                var boxes = new Float64Array(4 * chunks);
                for (var c = 0; c < chunks; ++c) {
                    var b = [Infinity, Infinity, -Infinity, -Infinity];
                    for (var i = c * CHUNK; i <= Math.min(n - 1, (c + 1) * CHUNK); ++i) {
                        b[0] = Math.min(b[0], pts[2 * i]);
                        b[1] = Math.min(b[1], pts[2 * i + 1]);
                        b[2] = Math.max(b[2], pts[2 * i]);
                        b[3] = Math.max(b[3], pts[2 * i + 1]);
                    }
                    boxes.set(b, 4 * c);
                    box[0] = Math.min(box[0], b[0]);
                    box[1] = Math.min(box[1], b[1]);
                    box[2] = Math.max(box[2], b[2]);
                    box[3] = Math.max(box[3], b[3]);
                }
                return { pts: pts, n: n, boxes: boxes, chunks: chunks };
            });
            if (out.length)
                shapes.push({ rings: out, box: box });
        }
        (geojson.features || [geojson]).forEach(function (f) {
            var g = f.geometry || f;
            if (!g)
                return;
            if (g.type === 'Polygon')
                add(g.coordinates);
            else if (g.type === 'MultiPolygon')
                g.coordinates.forEach(add);
            else if (g.type === 'LineString')
                add([g.coordinates]);
            else if (g.type === 'MultiLineString')
                g.coordinates.forEach(function (line) { add([line]); });
        });
        return shapes;
    }

    // Traces into the path the shapes that meet a tile (with a margin), in
    // world pixels of its zoom. A chunk lying wholly on one side of the tile
    // is cut short to its two ends: for a ring the area it then encloses
    // changes only on that side, outside the tile; a line is broken there.
    // Points closer than half a pixel to the one before are left out.
    function traceShapes(ctx, shapes, coords, margin, close) {
        var scale = TILE * Math.pow(2, coords.z);
        var x0 = (coords.x * TILE - margin) / scale, y0 = (coords.y * TILE - margin) / scale;
        var x1 = (coords.x * TILE + TILE + margin) / scale, y1 = (coords.y * TILE + TILE + margin) / scale;
        var near = 0.5 / scale;
        var any = false;
        ctx.beginPath();
        shapes.forEach(function (shape) {
            if (shape.box[2] < x0 || shape.box[0] > x1 || shape.box[3] < y0 || shape.box[1] > y1)
                return;
            // A ring may hold the tile without crossing it.
            any = any || close;
            shape.rings.forEach(function (ring) {
                var pts = ring.pts, boxes = ring.boxes;
                var pen = false, lx = NaN, ly = NaN;
                function to(i) {
                    var x = pts[2 * i], y = pts[2 * i + 1];
                    if (pen && Math.abs(x - lx) < near && Math.abs(y - ly) < near)
                        return;
                    if (pen)
                        ctx.lineTo(x * scale, y * scale);
                    else
                        ctx.moveTo(x * scale, y * scale);
                    pen = true;
                    lx = x;
                    ly = y;
                }
                for (var c = 0; c < ring.chunks; ++c) {
                    var first = c * CHUNK, last = Math.min(ring.n - 1, first + CHUNK);
                    var outside = boxes[4 * c + 2] < x0 || boxes[4 * c] > x1 || boxes[4 * c + 3] < y0 || boxes[4 * c + 1] > y1;
                    if (outside) {
                        if (close) {
                            to(first);
                            to(last);
                        } else {
                            pen = false;
                        }
                        continue;
                    }
                    any = true;
                    for (var i = first; i <= last; ++i)
                        to(i);
                }
                if (close && pen)
                    ctx.closePath();
            });
        });
        return any;
    }

    var BaseTiles = TiledLayer.extend({
        options: { pane: 'basePane' },
        initialize: function (land, borders, options) {
            TiledLayer.prototype.initialize.call(this, options);
            this._land = land;
            this._borders = borders;
        },
        drawTile: function (ctx, coords) {
            if (traceShapes(ctx, this._land, coords, 2, true)) {
                ctx.fillStyle = '#f2eddc';
                ctx.fill('evenodd');
                ctx.strokeStyle = '#6f93b0';
                ctx.lineWidth = 0.9;
                ctx.lineJoin = ctx.lineCap = 'round';
                ctx.stroke();
            }
            if (traceShapes(ctx, this._borders, coords, 2, false)) {
                ctx.globalAlpha = 0.9;
                ctx.strokeStyle = '#a06a96';
                ctx.lineWidth = 1.1;
                ctx.setLineDash([5, 3]);
                ctx.stroke();
            }
        }
    });

    (function buildBaseMap() {
        var topo = window.CORVANE_WORLD_50M;
        if (!topo || !window.topojson || !topo.objects) {
            console.warn('map page: no base map data');
            return;
        }
        var land = topojson.feature(topo, topo.objects.land);
        var borders = topojson.mesh(topo, topo.objects.countries, function (a, b) { return a !== b; });
        new BaseTiles(shapesOf(land), shapesOf(borders)).addTo(lmap);
        baseInfo.land = (land.features || [land]).length;
        baseInfo.borders = (borders.features || [borders]).length;
    })();

    // Online tiles: off until the user switches them on.
    var onlineTiles = L.tileLayer('https://tile.openstreetmap.org/{z}/{x}/{y}.png', {
        maxZoom: 19,
        attribution: '\u00a9 OpenStreetMap contributors'
    });
    var overlays = {};
    overlays[T.online] = onlineTiles;
    L.control.layers(null, overlays, { collapsed: true, position: 'topright' }).addTo(lmap);

    // A scale in kilometres and nautical miles.
    var NavScale = L.Control.Scale.extend({
        options: { nautical: true },
        _addScales: function (options, className, containerEl) {
            L.Control.Scale.prototype._addScales.call(this, options, className, containerEl);
            if (options.nautical)
                this._nScale = L.DomUtil.create('div', className, containerEl);
        },
        _updateScales: function (maxMeters) {
            L.Control.Scale.prototype._updateScales.call(this, maxMeters);
            if (this.options.nautical && maxMeters) {
                var maxNm = maxMeters / 1852;
                var nm = maxNm >= 1 ? this._getRoundNum(maxNm) : Math.max(0.1, Math.floor(maxNm * 10) / 10);
                this._updateScale(this._nScale, nm + ' NM', nm / maxNm);
            }
        }
    });
    new NavScale({ position: 'bottomleft', metric: true, imperial: false, maxWidth: 140 }).addTo(lmap);

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
        baseMap: function () { return { land: baseInfo.land, borders: baseInfo.borders }; },
        onlineTiles: function () { return lmap.hasLayer(onlineTiles); },
        setOnlineTiles: function (on) {
            if (on)
                onlineTiles.addTo(lmap);
            else
                onlineTiles.remove();
        },
        scaleTexts: function () {
            return Array.prototype.map.call(container.querySelectorAll('.leaflet-control-scale-line'),
                function (el) { return el.textContent; });
        }
    });
})();
