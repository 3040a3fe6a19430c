// The markers of the program (airports, navaids, waypoints): their lists,
// spatial indexes and managers, the marker functions the program calls,
// and the chart symbols and labels drawn for them in tiles (with the
// symbols of navsymbols.js), which also carry the ATS routes.
(function () {
    'use strict';

    var LatLng = NavPage.LatLng, toPos = NavPage.toPos, text = NavPage.text;
    var labelOf = NavPage.labelOf, keyIn = NavPage.keyIn;
    var lmap = NavPage.lmap, TILE = NavPage.TILE, TiledLayer = NavPage.TiledLayer;
    var worldX = NavPage.worldX, worldY = NavPage.worldY, lngAt = NavPage.lngAt, latAt = NavPage.latAt;
    var drawRoutes = NavPage.drawRoutes, flushAts = NavPage.flushAts, clearRoutes = NavPage.clearRoutes;

    // ------------------------------------------------------------------
    // Markers: the lists, their indexes and their managers.

    // Drawing order of importance: the first claim their room first.
    var LAYERS = [
        { list: 'listApt', mgr: 'ArptMgr', minZoom: 4, labelZoom: 8 },
        { list: 'listVOR', mgr: 'VORMgr', minZoom: 4, labelZoom: 7 },
        { list: 'listNDBRte', mgr: 'NDBRteMgr', minZoom: 7, labelZoom: 9 },
        { list: 'listNDBTerm', mgr: 'NDBTermMgr', minZoom: 8, labelZoom: 10 },
        { list: 'listWptRte', mgr: 'WPTRteMgr', minZoom: 7, labelZoom: 10 },
        { list: 'listWptTerm', mgr: 'WPTTermMgr', minZoom: 10, labelZoom: 11 },
        { list: 'listWptVfr', mgr: 'WPTVfrMgr', minZoom: 9, labelZoom: 10 }
    ];
    var LAYER_OF = {};
    LAYERS.forEach(function (layer, rank) {
        layer.rank = rank;
        LAYER_OF[layer.list] = layer;
        window[layer.list] = [];
    });
    var NAVAID_LISTS = ['listVOR', 'listNDBRte', 'listNDBTerm'];
    var WAYPOINT_LISTS = ['listWptRte', 'listWptTerm', 'listWptVfr'];

    var LABEL_COLORS = {
        airport: NavSymbols.COLORS.airport,
        vor: NavSymbols.COLORS.vor, vordme: NavSymbols.COLORS.vor,
        vortac: NavSymbols.COLORS.vor, dme: NavSymbols.COLORS.vor,
        ndb: NavSymbols.COLORS.ndb,
        wptRte: NavSymbols.COLORS.wptRte,
        wptTerm: NavSymbols.COLORS.wptTerm,
        wptVfr: NavSymbols.COLORS.wptVfr
    };

    function vorSymbol(type) {
        switch (type) {
        case 4: case 5: return 'vortac';
        case 16: return 'dme';
        case 17: return 'vordme';
        default: return 'vor';
        }
    }

    var WPT_SYMBOLS = { listWptRte: 'wptRte', listWptTerm: 'wptTerm', listWptVfr: 'wptVfr' };

    // One marker. `title` is handed back to the program as it came.
    function NavMarker(kind, listName, pos, title, code, info) {
        this.kind = kind;           // 'APT', 'VOR', 'NDB' or 'WPT'
        this.listName = listName;
        this.lat = pos.lat;
        this.lng = pos.lng;
        this.title = title;
        this.code = code;
        this.info = info;
        this.symbol = kind === 'APT' ? 'airport'
            : kind === 'VOR' ? vorSymbol(code)
            : kind === 'NDB' ? 'ndb'
            : WPT_SYMBOLS[listName];
        this.pinned = false;        // added by the editors: shown at every zoom
        this._k = 0;                // longitude offset of the copy last pointed at
        // Where the tiles put it, in Mercator units (the world is one unit
        // square), and its label: worked out once.
        this._mx = worldX(this.lng, 1);
        this._my = worldY(this.lat, 1);
        this._label = undefined;
    }
    NavMarker.prototype.getTitle = function () { return this.title; };
    NavMarker.prototype.getPosition = function () { return new LatLng(this.lat, this.lng); };
    NavMarker.prototype.label = function () {
        if (this._label === undefined)
            this._label = labelOf(this.title);
        return this._label;
    };

    var indexes = {};         // list name -> { index, list, count }
    NavPage.filedCalls = 0;   // marker and route calls of the program filed so far
    var pinned = [];          // markers added by the editors since the page loaded

    // Called once per marker of the program's batches (hundreds of
    // thousands): files the marker and does nothing more.
    function addMarker(kind, listName, pos, title, code, info) {
        // The position type of the batches is read in place.
        var p = pos instanceof LatLng && isFinite(pos._lng) && pos._lat >= -90 && pos._lat <= 90
            ? { lat: pos._lat, lng: pos._lng } : toPos(pos);
        if (!p) {
            console.warn('map page: ' + kind + ' marker without a valid position: ' + text(title));
            return null;
        }
        var m = new NavMarker(kind, listName, p, typeof title === 'string' ? title : text(title), code,
                              typeof info === 'string' ? info : text(info));
        window[listName].push(m);
        NavPage.filedCalls += 1;
        return m;
    }

    // Builds the spatial index of a list over all its markers.
    function publish(listName) {
        var list = window[listName];
        var n = list.length;
        var entry = { index: null, list: list, count: n };
        if (n > 0) {
            var index = new KDBush(n);
            for (var i = 0; i < n; ++i)
                index.add(list[i].lng, list[i].lat);
            index.finish();
            entry.index = index;
        }
        indexes[listName] = entry;
        listChanged(listName);
    }

    // A list or its manager changed: the symbols are drawn again when the
    // list shows at the map's zoom (the editors' markers show at every
    // zoom); what was chosen for other zooms is dropped either way.
    function listChanged(listName) {
        var layer = LAYER_OF[listName];
        if (pinned.length || Math.round(lmap.getZoom()) >= layer.minZoom)
            requestDraw();
        else
            clearBlocks();
    }

    function isPublished(listName) {
        var entry = indexes[listName];
        var list = window[listName];
        return !!entry && entry.list === list && entry.count === list.length;
    }

    function removeMarker(m) {
        var list = window[m.listName];
        var at = list ? list.indexOf(m) : -1;
        var p = pinned.indexOf(m);
        if (p >= 0)
            pinned.splice(p, 1);
        if (at < 0)
            return false;
        list.splice(at, 1);
        if (indexes[m.listName])
            publish(m.listName);
        if (NavPage.infoMarker() === m)
            lmap.closePopup();
        if (NavPage.hoverMarker() === m)
            NavPage.hideHover();
        requestDraw();
        return true;
    }

    // A marker the editors send for a row replaces the markers of that row
    // (it was written back under its key): those whose title names the key.
    // The program gives the key, and the other existing keys that end with a
    // dash and it: a title ending with one of those names that other row
    // ("BAR-X-RAYBE" is X-RAYBE's marker, not RAYBE's). Without a key
    // nothing is replaced.
    function replaceSameKey(fresh, listNames, key, longerKeys) {
        if (typeof key !== 'string' || !key)
            return;
        var keys = [key].concat(Array.isArray(longerKeys) ? longerKeys.filter(function (k) {
            return typeof k === 'string' && k;
        }) : []);
        listNames.forEach(function (name) {
            var stale = window[name].filter(function (m) {
                return m !== fresh && keyIn(m.title, keys) === key;
            });
            stale.forEach(removeMarker);
        });
    }

    // Shows a marker of the editors at once.
    function showNow(m, family, key, longerKeys) {
        if (!m)
            return;
        replaceSameKey(m, family, key, longerKeys);
        m.pinned = true;
        pinned.push(m);
        publish(m.listName);
    }

    function Manager(listName) {
        this.listName = listName;
        this.visible = true;
    }
    Manager.prototype.addMarkers = function (list) {
        if (list !== undefined && list !== window[this.listName])
            console.warn('map page: ' + this.listName + ' manager given another list');
        if (!isPublished(this.listName))
            publish(this.listName);
        this.visible = true;
        listChanged(this.listName);
    };
    Manager.prototype.clearMarkers = function () {
        this.visible = false;
        var infoMarker = NavPage.infoMarker();
        if (infoMarker && infoMarker.listName === this.listName)
            lmap.closePopup();
        listChanged(this.listName);
    };
    Manager.prototype.getMarkerCount = function () {
        return window[this.listName].length;
    };

    var managers = {};
    LAYERS.forEach(function (layer) {
        managers[layer.mgr] = new Manager(layer.list);
        window[layer.mgr] = managers[layer.mgr];
    });

    // ------------------------------------------------------------------
    // The chart symbols, in tiles. Which markers show does not depend on
    // the view: the world is cut, per zoom, into cells that line up with the
    // tiles, and each cell shows one marker, of the most important layer
    // shown, the first of its list; the editors' markers show whatever the
    // zoom. Labels likewise: one per label cell, the most important, left
    // out where a label of a cell to its left reaches over it. The choice is
    // made per block of 256 world pixels (a tile's square) and kept, so that
    // a tile coming into view reuses what its neighbours found.

    var LABEL_CELL_W = 64, LABEL_CELL_H = 16;   // world pixels; whole numbers per block
    var LABEL_MAX_W = 140;                       // longer labels are cut
    var SYMBOL_MARGIN = 12;                      // half the largest symbol, and more
    var MAX_BLOCK_SYMBOLS = 160;                 // per block of 256 x 256 pixels
    var LABEL_FONT = '11px "DejaVu Sans", Arial, sans-serif';

    var frame = 0;

    // Room per symbol: wide at small scales, where only the main points
    // show, close in where every point counts; a whole number of cells per
    // block.
    function cellSize(zoom) {
        return TILE / (zoom <= 6 ? 14 : zoom <= 8 ? 23 : zoom <= 11 ? 32 : 51);
    }
    // and smaller symbols
    function symbolScaleAt(zoom) {
        return zoom <= 5 ? 0.65 : zoom <= 6 ? 0.8 : 1;
    }

    // Label widths, measured once: the font never changes. Labels wider
    // than LABEL_MAX_W are cut with an ellipsis.
    var labelTexts = new Map();
    var measureCtx = document.createElement('canvas').getContext('2d');
    measureCtx.font = LABEL_FONT;

    function fittedLabel(label) {
        var fitted = labelTexts.get(label);
        if (fitted)
            return fitted;
        var text = label, w = measureCtx.measureText(text).width;
        while (w > LABEL_MAX_W && text.length > 1) {
            text = text.slice(0, -1);
            w = measureCtx.measureText(text + '\u2026').width;
        }
        fitted = { text: text === label ? label : text + '\u2026', width: w };
        labelTexts.set(label, fitted);
        return fitted;
    }

    // Label cells as numbers: row, then column (which a world copy may
    // take below zero).
    function labelKey(row, col) {
        return row * 1e8 + col + 5e7;
    }
    function labelRow(key) {
        return Math.floor(key / 1e8);
    }
    function labelCol(key) {
        return key - labelRow(key) * 1e8 - 5e7;
    }

    // Blocks of the current data: "zoom/bx/by" -> block. Cleared when the
    // markers, the managers or the editors' markers change.
    var blocks = new Map();
    var blockZooms = [];

    function clearBlocks() {
        blocks.clear();
        blockZooms = [];
    }

    // The symbols of block (bx, by) at a zoom: { symbols: [{ m, x, y, k,
    // rank, pinned }], labelCells: Map(label cell -> symbol) }. bx may lie
    // outside the world: the block of the copy, positions shifted with it.
    function block(zoom, bx, by) {
        var n = Math.pow(2, zoom);
        var key = zoom + '/' + bx + '/' + by;
        var b = blocks.get(key);
        if (b)
            return b;
        if (blockZooms.indexOf(zoom) < 0) {
            // The blocks of two zooms are kept: the one shown and the one before.
            blockZooms.push(zoom);
            while (blockZooms.length > 2) {
                var gone = blockZooms.shift() + '/';
                blocks.forEach(function (v, k) {
                    if (k.lastIndexOf(gone, 0) === 0)
                        blocks.delete(k);
                });
            }
        }
        var wrapped = ((bx % n) + n) % n;
        if (wrapped !== bx) {
            // A copy of a block of the world.
            var base = block(zoom, wrapped, by);
            var shift = (bx - wrapped) * TILE, k = (bx - wrapped) / n * 360;
            var shifted = function (s) {
                return { m: s.m, x: s.x + shift, y: s.y, k: s.k + k, rank: s.rank, pinned: s.pinned };
            };
            var labelCells = new Map();
            base.labelCells.forEach(function (s, cell) {
                labelCells.set(cell + (bx - wrapped) * (TILE / LABEL_CELL_W), shifted(s));
            });
            b = { symbols: base.symbols.map(shifted), labelCells: labelCells, labels: null, bx: bx, by: by, zoom: zoom };
            blocks.set(key, b);
            return b;
        }
        b = { symbols: chooseBlock(zoom, bx, by), labelCells: null, labels: null, bx: bx, by: by, zoom: zoom };
        b.labelCells = labelCellsOf(b.symbols, zoom);
        blocks.set(key, b);
        return b;
    }

    function chooseBlock(zoom, bx, by) {
        var scale = TILE * Math.pow(2, zoom);
        var cell = cellSize(zoom);
        var per = Math.round(TILE / cell);
        var x0 = bx * TILE, y0 = by * TILE;
        var owner = new Int32Array(per * per).fill(-1);   // index in chosen
        var ownerId = new Int32Array(per * per);
        var chosen = [];

        function put(m, id, rank, force) {
            var x = m._mx * scale - x0, y = m._my * scale - y0;
            if (!(x >= 0 && x < TILE && y >= 0 && y < TILE))
                return;
            var c = Math.min(per - 1, Math.floor(y / cell)) * per + Math.min(per - 1, Math.floor(x / cell));
            var at = owner[c];
            if (at >= 0 && !force) {
                // Within one layer the first of the list keeps the cell.
                if (chosen[at].rank !== rank || ownerId[c] <= id)
                    return;
                chosen[at] = { m: m, x: x + x0, y: y + y0, k: 0, rank: rank, pinned: false, id: id };
                ownerId[c] = id;
                return;
            }
            if (at < 0) {
                owner[c] = chosen.length;
                ownerId[c] = id;
            }
            chosen.push({ m: m, x: x + x0, y: y + y0, k: 0, rank: force ? -1 : rank, pinned: force, id: id });
        }

        // What the editors just added shows whatever the zoom.
        pinned.forEach(function (m) {
            if (managers[LAYER_OF[m.listName].mgr].visible)
                put(m, -1, -1, true);
        });
        var west = lngAt(x0, scale), east = lngAt(x0 + TILE, scale);
        var north = latAt(y0, scale), south = latAt(y0 + TILE, scale);
        LAYERS.forEach(function (layer) {
            var entry = indexes[layer.list];
            if (!managers[layer.mgr].visible || zoom < layer.minZoom || !entry || !entry.index)
                return;
            var ids = entry.index.range(west, south, east, north);
            for (var i = 0; i < ids.length; ++i)
                put(entry.list[ids[i]], ids[i], layer.rank, false);
        });
        if (chosen.length > MAX_BLOCK_SYMBOLS) {
            // A crowded block keeps its most important symbols: by layer,
            // then by place in the list; the editors' markers always.
            chosen.sort(function (a, b) { return a.rank - b.rank || a.id - b.id; });
            chosen.length = Math.max(MAX_BLOCK_SYMBOLS, chosen.filter(function (s) { return s.pinned; }).length);
        }
        return chosen;
    }

    // Per label cell of a block, the symbol that may carry its label.
    function labelCellsOf(symbols, zoom) {
        var cells = new Map();
        symbols.forEach(function (s) {
            if (zoom < LAYER_OF[s.m.listName].labelZoom && !s.pinned)
                return;
            if (!s.m.label())
                return;
            var key = labelKey(Math.floor(s.y / LABEL_CELL_H), Math.floor(s.x / LABEL_CELL_W));
            var held = cells.get(key);
            if (!held || s.rank < held.rank || (s.rank === held.rank && s.x < held.x))
                cells.set(key, s);
        });
        return cells;
    }

    // The labels anchored in a block: those no label of a cell to the left
    // reaches over (the block to the left is looked at too).
    function labelsOf(b) {
        if (b.labels)
            return b.labels;
        var symbolScale = symbolScaleAt(b.zoom);
        var left = block(b.zoom, b.bx - 1, b.by).labelCells;
        var back = Math.ceil(LABEL_MAX_W / LABEL_CELL_W) + 1;
        b.labels = [];
        b.labelCells.forEach(function (s, key) {
            var row = labelRow(key), col = labelCol(key);
            for (var c = col - 1; c >= col - back; --c) {
                var other = b.labelCells.get(labelKey(row, c)) || left.get(labelKey(row, c));
                if (!other)
                    continue;
                var reach = other.x + NavSymbols.size(other.m.symbol) * symbolScale / 2 + 1
                        + fittedLabel(other.m.label()).width;
                if (reach > s.x - NavSymbols.size(s.m.symbol) * symbolScale / 2)
                    return;
            }
            b.labels.push(s);
        });
        return b.labels;
    }

    // The symbols shown in a region of world pixels at a zoom (x may run
    // past the world: its copies).
    function symbolsIn(zoom, x0, y0, x1, y1) {
        var out = [];
        var n = Math.pow(2, zoom);
        for (var by = Math.max(0, Math.floor(y0 / TILE)); by <= Math.min(n - 1, Math.floor(y1 / TILE)); ++by) {
            for (var bx = Math.floor(x0 / TILE); bx <= Math.floor(x1 / TILE); ++bx) {
                block(zoom, bx, by).symbols.forEach(function (s) {
                    if (s.x >= x0 && s.x < x1 && s.y >= y0 && s.y < y1)
                        out.push(s);
                });
            }
        }
        return out;
    }

    // Symbol stamps: each symbol, at each scale, as the pixels it covers.
    // The symbols of a tile are copied into one image that is put on the
    // tile at once: in the web engine's software raster one drawImage costs
    // as much as copying a hundred stamps.
    var stamps = {};

    function stamp(symbol, scale, ratio) {
        var key = symbol + '|' + scale + '|' + ratio;
        var s = stamps[key];
        if (s)
            return s;
        var size = NavSymbols.size(symbol) * scale;
        var px = Math.max(1, Math.round(size * ratio));
        var c = document.createElement('canvas');
        c.width = px;
        c.height = px;
        var cx = c.getContext('2d');
        cx.drawImage(NavSymbols.sprite(symbol), 0, 0, px, px);
        var data = new Uint32Array(cx.getImageData(0, 0, px, px).data.buffer);
        // Only the pixels that show: offset in the stamp, then colour.
        var offsets = [], colours = [];
        for (var y = 0; y < px; ++y) {
            for (var x = 0; x < px; ++x) {
                var v = data[y * px + x];
                if (v >>> 24) {
                    offsets.push(x, y);
                    colours.push(v);
                }
            }
        }
        s = { size: px, offsets: new Int16Array(offsets), colours: new Uint32Array(colours) };
        stamps[key] = s;
        return s;
    }

    // Copies a stamp centred on (cx, cy) device pixels into `pixels`
    // (width w, height h; RGBA, not premultiplied, as ImageData holds it),
    // over what is there.
    function putStamp(pixels, w, h, s, cx, cy) {
        var size = s.size;
        var x0 = Math.round(cx - size / 2), y0 = Math.round(cy - size / 2);
        var offsets = s.offsets, colours = s.colours, n = colours.length;
        if (s.width !== w) {
            // Offsets of the stamp's pixels in an image of this width.
            s.width = w;
            s.linear = new Int32Array(n);
            for (var k = 0; k < n; ++k)
                s.linear[k] = offsets[2 * k + 1] * w + offsets[2 * k];
        }
        var linear = s.linear;
        var base = y0 * w + x0;
        var inside = x0 >= 0 && y0 >= 0 && x0 + size <= w && y0 + size <= h;
        for (var i = 0; i < n; ++i) {
            if (!inside) {
                var x = x0 + offsets[2 * i], y = y0 + offsets[2 * i + 1];
                if (x < 0 || y < 0 || x >= w || y >= h)
                    continue;
            }
            var at = base + linear[i];
            var src = colours[i];
            var dst = pixels[at];
            if (dst === 0 || src >= 0xff000000)
                pixels[at] = src;
            else
                pixels[at] = blend(src, dst);
        }
    }

    // Source over destination, straight alpha, as ImageData holds colours.
    function blend(src, dst) {
        var sa = src >>> 24, da = dst >>> 24;
        var keep = da * (255 - sa) / 255;
        var oa = sa + keep;
        var r = ((src & 255) * sa + (dst & 255) * keep) / oa;
        var g = (((src >>> 8) & 255) * sa + ((dst >>> 8) & 255) * keep) / oa;
        var b = (((src >>> 16) & 255) * sa + ((dst >>> 16) & 255) * keep) / oa;
        return ((Math.round(oa) << 24) | (Math.round(b) << 16) | (Math.round(g) << 8) | Math.round(r)) >>> 0;
    }

    // One image for every tile drawn: filled, put, cleared.
    var tileImages = {};

    function tileImage(ctx, size) {
        var t = tileImages[size];
        if (!t) {
            var image = ctx.createImageData(size, size);
            t = tileImages[size] = { image: image, pixels: new Uint32Array(image.data.buffer) };
        }
        return t;
    }

    var NavTiles = TiledLayer.extend({
        options: { pane: 'navPane' },

        drawTile: function (ctx, coords, ratio) {
            var zoom = coords.z;
            var tx = coords.x * TILE, ty = coords.y * TILE;
            var symbolScale = symbolScaleAt(zoom);
            // Symbols reaching into the tile from around it.
            var symbols = symbolsIn(zoom, tx - SYMBOL_MARGIN, ty - SYMBOL_MARGIN, tx + TILE + SYMBOL_MARGIN,
                                    ty + TILE + SYMBOL_MARGIN);
            if (symbols.length) {
                // Less important symbols first, so that airports end on top.
                symbols.sort(function (a, b) { return b.rank - a.rank; });
                var size = Math.round(TILE * ratio);
                var t = tileImage(ctx, size);
                var stampOf = {};
                for (var i = 0; i < symbols.length; ++i) {
                    var sym = symbols[i];
                    var st = stampOf[sym.m.symbol] || (stampOf[sym.m.symbol] = stamp(sym.m.symbol, symbolScale, ratio));
                    putStamp(t.pixels, size, size, st, (sym.x - tx) * ratio, (sym.y - ty) * ratio);
                }
                ctx.putImageData(t.image, 0, 0);
                t.pixels.fill(0);
            }
            // The ATS routes go under the symbols.
            ctx.globalCompositeOperation = 'destination-over';
            drawRoutes(ctx, coords);
            ctx.globalCompositeOperation = 'source-over';
            // Labels anchored in the tile's block and the blocks around it
            // (a label reaches in from the left).
            var labels = [];
            var n = Math.pow(2, zoom);
            for (var by = Math.max(0, coords.y - 1); by <= Math.min(n - 1, coords.y + 1); ++by) {
                for (var bx = coords.x - 1; bx <= coords.x; ++bx) {
                    labelsOf(block(zoom, bx, by)).forEach(function (s) {
                        if (s.y >= ty - LABEL_CELL_H && s.y < ty + TILE + LABEL_CELL_H && s.x < tx + TILE)
                            labels.push(s);
                    });
                }
            }
            if (!labels.length)
                return;
            ctx.font = LABEL_FONT;
            ctx.textBaseline = 'middle';
            ctx.lineJoin = 'round';
            ctx.lineWidth = 3;
            ctx.strokeStyle = 'rgba(255,255,255,0.9)';
            labels.forEach(function (s) {
                var label = fittedLabel(s.m.label()).text;
                var x = s.x + NavSymbols.size(s.m.symbol) * symbolScale / 2 + 1;
                ctx.fillStyle = LABEL_COLORS[s.m.symbol] || '#333';
                ctx.strokeText(label, x, s.y);
                ctx.fillText(label, x, s.y);
            });
        }
    });

    var drawPending = false;
    var navTiles = new NavTiles().addTo(lmap);

    function redrawSymbols() {
        drawPending = false;
        frame += 1;
        clearBlocks();
        navTiles.redrawAtOnce();
    }

    // Data changes are drawn once the current script has run. While the
    // program's batches are still coming (markers and route points filed by
    // the thousand, one script after another), the drawing waits until they
    // stop: the map is drawn once for the whole load, not once per section.
    var BATCH_QUIET_MS = 30;

    function requestDraw() {
        if (drawPending)
            return;
        drawPending = true;
        var seen = NavPage.filedCalls;
        var whenQuiet = function () {
            if (!drawPending)
                return;
            if (NavPage.filedCalls !== seen) {
                seen = NavPage.filedCalls;
                setTimeout(whenQuiet, BATCH_QUIET_MS);
                return;
            }
            redrawSymbols();
        };
        setTimeout(whenQuiet, 0);
    }

    function flushDraw() {
        NavPage.applyPendingCenter();
        flushAts();
        if (drawPending)
            redrawSymbols();
    }

    // The map's view in world pixels of its (whole) zoom.
    function viewPixels() {
        var zoom = Math.round(lmap.getZoom());
        var f = Math.pow(2, zoom - lmap.getZoom());
        var bounds = lmap.getPixelBounds();
        return { zoom: zoom, f: f, x0: bounds.min.x * f, y0: bounds.min.y * f, x1: bounds.max.x * f, y1: bounds.max.y * f };
    }

    // The symbols shown in the map's view, per list.
    function visibleCounts() {
        flushDraw();
        var counts = {};
        LAYERS.forEach(function (layer) { counts[layer.list] = 0; });
        var v = viewPixels();
        symbolsIn(v.zoom, v.x0, v.y0, v.x1, v.y1).forEach(function (s) {
            counts[s.m.listName] += 1;
        });
        return counts;
    }

    // The shown marker nearest to a point of the map container, within a
    // few pixels; null when there is none. Its world copy goes to m._k.
    function hitTest(point) {
        flushDraw();
        var radius = 9;
        var v = viewPixels();
        var cx = v.x0 + point.x * v.f, cy = v.y0 + point.y * v.f;
        var best = null, bestDist = radius * radius + 1;
        symbolsIn(v.zoom, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1).forEach(function (s) {
            var p = lmap.latLngToContainerPoint([s.m.lat, s.m.lng + s.k]);
            var dx = p.x - point.x, dy = p.y - point.y;
            var dist = dx * dx + dy * dy;
            var m = s.m;
            if (dist < bestDist || (dist === bestDist && best && LAYER_OF[m.listName].rank < LAYER_OF[best.listName].rank)) {
                best = m;
                best._k = s.k;
                bestDist = dist;
            }
        });
        return best;
    }

    // ------------------------------------------------------------------
    // Marker functions of the program.

    window.addAPTMarker = function (pos, ident, kind, info) {
        return addMarker('APT', 'listApt', pos, ident, Number(kind), info);
    };

    window.addVORMarker = function (pos, title, typeCode, info) {
        return addMarker('VOR', 'listVOR', pos, title, Number(typeCode), info);
    };

    // NDBs of terminal use (code 4) apart from the en-route ones.
    window.addNDBMarker = function (pos, title, usageCode, info) {
        var usage = Number(usageCode);
        return addMarker('NDB', usage === 4 ? 'listNDBTerm' : 'listNDBRte', pos, title, usage, info);
    };

    // Waypoints: terminal (4), VFR (6), en-route (the others).
    window.addWPTMarker = function (pos, title, usageCode, info) {
        var usage = Number(usageCode);
        var list = usage === 4 ? 'listWptTerm' : usage === 6 ? 'listWptVfr' : 'listWptRte';
        return addMarker('WPT', list, pos, title, usage, info);
    };

    // The editors' markers: into the list and on the map at once, in place
    // of the markers of the row's key (see replaceSameKey).
    window.addVORMarker2 = function (pos, title, typeCode, info, key, longerKeys) {
        var m = window.addVORMarker(pos, title, typeCode, info);
        showNow(m, NAVAID_LISTS, key, longerKeys);
        return m;
    };
    window.addNDBMarker2 = function (pos, title, usageCode, info, key, longerKeys) {
        var m = window.addNDBMarker(pos, title, usageCode, info);
        showNow(m, NAVAID_LISTS, key, longerKeys);
        return m;
    };
    window.addWPTMarker2 = function (pos, title, usageCode, info, key, longerKeys) {
        var m = window.addWPTMarker(pos, title, usageCode, info);
        showNow(m, WAYPOINT_LISTS, key, longerKeys);
        return m;
    };

    window.pushAPT = function () {
        publish('listApt');
    };
    window.addNavMgr = function () {
        NAVAID_LISTS.forEach(publish);
    };
    window.addWptMgr = function () {
        WAYPOINT_LISTS.forEach(publish);
    };

    // The marker the last context menu acted on.
    window.theLast = null;

    function deleteLast(kinds) {
        var m = window.theLast;
        window.theLast = null;
        if (m instanceof NavMarker && kinds.indexOf(m.kind) >= 0)
            return removeMarker(m);
        return false;
    }
    window.delNavaid = function () { return deleteLast(['VOR', 'NDB']); };
    window.delWaypoint = function () { return deleteLast(['WPT']); };

    // The program reads a database again (a copy restored over it): every
    // marker and route line it sent goes, the editors' markers with them,
    // before the batches of the new data come. The managers keep their
    // state; the plan, the procedures and the view stay.
    window.clearNavData = function () {
        LAYERS.forEach(function (layer) {
            window[layer.list] = [];
            delete indexes[layer.list];
        });
        pinned = [];
        window.theLast = null;
        if (NavPage.infoMarker())
            lmap.closePopup();
        NavPage.hideHover();
        clearRoutes();
        redrawSymbols();
    };

    // For the page's other scripts.
    NavPage.redrawSymbols = redrawSymbols;
    NavPage.flushDraw = flushDraw;
    NavPage.hitTest = hitTest;

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
        lists: LAYERS.map(function (layer) { return layer.list; }),
        listSize: function (name) { return (window[name] || []).length; },
        indexedCount: function (name) { return indexes[name] ? indexes[name].count : 0; },
        // How many markers of a list the map shows now.
        visibleCount: function (name) {
            return visibleCounts()[name] || 0;
        },
        totalVisible: function () {
            var counts = visibleCounts();
            return Object.keys(counts).reduce(function (sum, k) { return sum + counts[k]; }, 0);
        },
        redraw: function () {
            NavPage.applyPendingCenter();
            if (!flushAts())
                redrawSymbols();
            return frame;
        },
        managerVisible: function (mgr) { return !!managers[mgr] && managers[mgr].visible; },
        symbolOf: function (name, title) {
            var m = (window[name] || []).filter(function (x) { return x.title === title; })[0];
            return m ? m.symbol : '';
        },
        theLastTitle: function () { return window.theLast ? window.theLast.title : null; }
    });
})();
