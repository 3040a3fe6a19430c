// The map page of Corvane Navigator.
//
// The program drives the page through the globals below (markers, routes,
// flight plan, procedures, runways, start position, aircraft); the page
// calls the program back through window.mainWindow (bridge.js). The map is
// Leaflet over an offline Natural Earth base map; an online tile layer can
// be switched on from the layer control.
//
// Markers are kept in plain arrays (listApt, listVOR, ...). Publishing a list
// (pushAPT, addNavMgr, addWptMgr) builds a spatial index over it; one canvas
// layer asks the indexes for what lies in view and draws, per zoom level,
// what a chart of that scale shows, so that hundreds of thousands of points
// stay cheap.
(function () {
    'use strict';

    // ------------------------------------------------------------------
    // Language: the page's <html lang> attribute chooses the texts.

    var TEXTS = {
        fr: {
            addToPlan: 'Ajouter au plan de vol',
            showRunways: 'Afficher les pistes',
            startHere: 'Départ ici',
            modify: 'Modifier',
            remove: 'Supprimer',
            newUserWpt: 'Nouveau point de report',
            createNav: 'Créer un navaid ici',
            createWpt: 'Créer un waypoint ici',
            startPos: 'Position de départ ici',
            online: 'Carte en ligne (OpenStreetMap)',
            legend: 'Légende',
            airport: 'Aéroport',
            vor: 'VOR',
            vordme: 'VOR-DME',
            vortac: 'VORTAC / TACAN',
            dme: 'DME',
            ndb: 'NDB',
            wptRte: 'Waypoint en route',
            wptTerm: 'Waypoint terminal',
            wptVfr: 'Point de report VFR',
            atsL: 'Route ATS basse',
            atsH: 'Route ATS haute',
            atsB: 'Route ATS haute/basse',
            route: 'Plan de vol',
            procedure: 'Procédure SID/STAR',
            sit: 'Position de départ',
            colon: ' : ',
            aircraft: 'Avion',
            heading: 'cap'
        },
        en: {
            addToPlan: 'Add to the flight plan',
            showRunways: 'Show runways',
            startHere: 'Start here',
            modify: 'Edit',
            remove: 'Delete',
            newUserWpt: 'New user waypoint',
            createNav: 'Create a navaid here',
            createWpt: 'Create a waypoint here',
            startPos: 'Start position here',
            online: 'Online map (OpenStreetMap)',
            legend: 'Legend',
            airport: 'Airport',
            vor: 'VOR',
            vordme: 'VOR-DME',
            vortac: 'VORTAC / TACAN',
            dme: 'DME',
            ndb: 'NDB',
            wptRte: 'En-route waypoint',
            wptTerm: 'Terminal waypoint',
            wptVfr: 'VFR reporting point',
            atsL: 'Low ATS route',
            atsH: 'High ATS route',
            atsB: 'High/low ATS route',
            route: 'Flight plan',
            procedure: 'SID/STAR procedure',
            sit: 'Start position',
            colon: ': ',
            aircraft: 'Aircraft',
            heading: 'heading'
        }
    };
    var LANG = String(document.documentElement.lang || 'fr').slice(0, 2).toLowerCase() === 'en' ? 'en' : 'fr';
    var T = TEXTS[LANG];

    // ------------------------------------------------------------------
    // Positions.

    // The position type of the page texts: new google.maps.LatLng(lat, lng).
    function LatLng(lat, lng) {
        if (!(this instanceof LatLng))
            return new LatLng(lat, lng);
        this._lat = Number(lat);
        this._lng = Number(lng);
    }
    LatLng.prototype.lat = function () { return this._lat; };
    LatLng.prototype.lng = function () { return this._lng; };
    LatLng.prototype.equals = function (other) {
        return !!other && other.lat() === this._lat && other.lng() === this._lng;
    };
    LatLng.prototype.toString = function () { return '(' + this._lat + ', ' + this._lng + ')'; };
    LatLng.prototype.toUrlValue = function (precision) {
        var p = precision === undefined ? 6 : precision;
        return Number(this._lat.toFixed(p)) + ',' + Number(this._lng.toFixed(p));
    };

    window.google = window.google || {};
    window.google.maps = window.google.maps || {};
    window.google.maps.LatLng = LatLng;

    // Longitude into (-180, 180].
    function wrapLng(lng) {
        var w = ((lng + 180) % 360 + 360) % 360 - 180;
        return w === -180 ? 180 : w;
    }

    // {lat, lng} from a LatLng of the page, a Leaflet LatLng or [lat, lng];
    // null for anything that is no position.
    function toPos(pos) {
        var lat, lng;
        if (pos instanceof LatLng) {
            lat = pos.lat();
            lng = pos.lng();
        } else if (Array.isArray(pos)) {
            lat = Number(pos[0]);
            lng = Number(pos[1]);
        } else if (pos && typeof pos.lat === 'function' && typeof pos.lng === 'function') {
            lat = Number(pos.lat());
            lng = Number(pos.lng());
        } else if (pos && typeof pos.lat === 'number') {
            lat = pos.lat;
            lng = pos.lng;
        } else {
            return null;
        }
        if (!isFinite(lat) || !isFinite(lng) || lat < -90 || lat > 90)
            return null;
        return { lat: lat, lng: lng };
    }

    function round6(v) { return Math.round(v * 1e6) / 1e6; }

    function text(value) { return value === undefined || value === null ? '' : String(value); }

    function heading(value) {
        var h = Number(value);
        if (!isFinite(h))
            return 0;
        return ((h % 360) + 360) % 360;
    }

    // The name part of a marker title "name-key" (the whole title if it has
    // no dash): what the map writes beside a symbol.
    function labelOf(title) {
        var dash = title.lastIndexOf('-');
        return dash > 0 ? title.substring(0, dash) : title;
    }

    // The key part of a marker title, empty when there is none.
    function keyOf(title) {
        var dash = title.lastIndexOf('-');
        return dash >= 0 ? title.substring(dash + 1).trim() : '';
    }

    // An element holding plain text: names from the program never become HTML.
    function textElement(tag, className, content) {
        var el = document.createElement(tag);
        if (className)
            el.className = className;
        el.textContent = content;
        return el;
    }

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
    pane('atsPane', 380);
    pane('rwyPane', 390);
    pane('navPane', 400);       // the chart symbols
    pane('procPane', 420);
    pane('fpPane', 430);

    var baseRenderer = L.canvas({ pane: 'basePane', padding: 0.25 });
    var atsRenderer = L.canvas({ pane: 'atsPane', padding: 0.2 });
    var rwyRenderer = L.svg({ pane: 'rwyPane' });
    var procRenderer = L.svg({ pane: 'procPane' });
    var fpRenderer = L.svg({ pane: 'fpPane' });

    // ------------------------------------------------------------------
    // Offline base map: Natural Earth land, coastlines and borders.

    var baseInfo = { land: 0, borders: 0 };

    (function buildBaseMap() {
        var topo = window.CORVANE_WORLD_50M;
        if (!topo || !window.topojson || !topo.objects) {
            console.warn('map page: no base map data');
            return;
        }
        var land = topojson.feature(topo, topo.objects.land);
        var borders = topojson.mesh(topo, topo.objects.countries, function (a, b) { return a !== b; });
        var landLayer = L.geoJSON(land, {
            renderer: baseRenderer,
            interactive: false,
            style: {
                stroke: true, color: '#6f93b0', weight: 0.9, opacity: 1,
                fill: true, fillColor: '#f2eddc', fillOpacity: 1
            }
        }).addTo(lmap);
        var borderLayer = L.geoJSON(borders, {
            renderer: baseRenderer,
            interactive: false,
            style: { color: '#a06a96', weight: 1.1, opacity: 0.9, dashArray: '5 3', fill: false }
        }).addTo(lmap);
        baseInfo.land = landLayer.getLayers().length;
        baseInfo.borders = borderLayer.getLayers().length;
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
        this._f = 0;                // last frame that drew it
        this._k = 0;                // longitude offset it was drawn at
        this._x = 0;                // where, on the canvas
        this._y = 0;
    }
    NavMarker.prototype.getTitle = function () { return this.title; };
    NavMarker.prototype.getPosition = function () { return new LatLng(this.lat, this.lng); };
    NavMarker.prototype.label = function () { return labelOf(this.title); };

    var indexes = {};         // list name -> { index, list, count }
    var pinned = [];          // markers added by the editors since the page loaded

    function addMarker(kind, listName, pos, title, code, info) {
        var p = toPos(pos);
        if (!p) {
            console.warn('map page: ' + kind + ' marker without a valid position: ' + text(title));
            return null;
        }
        var m = new NavMarker(kind, listName, p, text(title), code, text(info));
        window[listName].push(m);
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
        requestDraw();
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
        if (infoMarker === m)
            lmap.closePopup();
        if (hoverMarker === m)
            hideHover();
        requestDraw();
        return true;
    }

    // A marker the editors send for a row replaces the marker of the same key
    // (the row was written back under that key).
    function replaceSameKey(fresh, listNames) {
        var key = keyOf(fresh.title);
        if (!key)
            return;
        listNames.forEach(function (name) {
            var stale = window[name].filter(function (m) {
                return m !== fresh && keyOf(m.title) === key;
            });
            stale.forEach(removeMarker);
        });
    }

    // Shows a marker of the editors at once.
    function showNow(m, family) {
        if (!m)
            return;
        replaceSameKey(m, family);
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
        requestDraw();
    };
    Manager.prototype.clearMarkers = function () {
        this.visible = false;
        if (infoMarker && infoMarker.listName === this.listName)
            lmap.closePopup();
        requestDraw();
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
    // The symbol layer: one canvas, redrawn after every move.

    var MAX_SYMBOLS = 6000;       // per frame
    var MAX_LABELS = 1500;        // per frame
    var QUERY_LIMIT = 60000;      // points looked at per list and frame
    var MAX_LAT = 85.0511287798;

    var frame = 0;
    var lastCounts = {};

    function offsetsFor(west, east) {
        if (east - west >= 360)
            return [0];
        var offsets = [];
        for (var k = -720; k <= 720; k += 360) {
            if (west - k <= 180 && east - k >= -180)
                offsets.push(k);
        }
        return offsets;
    }

    // Symbol stamps: each symbol, at each scale, as the pixels it covers.
    // The symbols of a frame are copied into one image that is put on the
    // canvas at once: in the web engine's software raster one drawImage
    // costs as much as copying a hundred stamps.
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
        var inside = x0 >= 0 && y0 >= 0 && x0 + size <= w && y0 + size <= h;
        var base = y0 * w + x0;
        for (var i = 0; i < n; ++i) {
            if (!inside) {
                var x = x0 + offsets[2 * i], y = y0 + offsets[2 * i + 1];
                if (x < 0 || y < 0 || x >= w || y >= h)
                    continue;
            }
            var at = base + linear[i];
            var src = colours[i];
            var dst = pixels[at];
            if (dst === 0 || src >>> 24 === 255) {
                pixels[at] = src;
                continue;
            }
            // source over destination, straight alpha
            var sa = src >>> 24, da = dst >>> 24;
            var keep = da * (255 - sa) / 255;
            var oa = sa + keep;
            var r = ((src & 255) * sa + (dst & 255) * keep) / oa;
            var g = (((src >>> 8) & 255) * sa + ((dst >>> 8) & 255) * keep) / oa;
            var b = (((src >>> 16) & 255) * sa + ((dst >>> 16) & 255) * keep) / oa;
            pixels[at] = ((Math.round(oa) << 24) | (Math.round(b) << 16) | (Math.round(g) << 8) | Math.round(r)) >>> 0;
        }
    }

    var NavLayer = L.Layer.extend({
        options: { pane: 'navPane', padding: 0.15 },

        onAdd: function () {
            this._canvas = L.DomUtil.create('canvas', 'nav-canvas leaflet-layer');
            if (this._zoomAnimated)
                L.DomUtil.addClass(this._canvas, 'leaflet-zoom-animated');
            this.getPane().appendChild(this._canvas);
            this._ctx = this._canvas.getContext('2d');
            this._reset();
        },

        onRemove: function () {
            L.DomUtil.remove(this._canvas);
        },

        getEvents: function () {
            var events = { viewreset: this._reset, moveend: this._reset, resize: this._reset, zoom: this._onZoom };
            if (this._zoomAnimated)
                events.zoomanim = this._onAnimZoom;
            return events;
        },

        _onAnimZoom: function (e) {
            this._updateTransform(e.center, e.zoom);
        },

        _onZoom: function () {
            this._updateTransform(this._map.getCenter(), this._map.getZoom());
        },

        // Scales the last frame while the map zooms, as Leaflet's renderers do.
        _updateTransform: function (center, zoom) {
            if (!this._center)
                return;
            var map = this._map;
            var scale = map.getZoomScale(zoom, this._zoom);
            var viewHalf = map.getSize().multiplyBy(0.5 + this.options.padding);
            var currentCenterPoint = map.project(this._center, zoom);
            var topLeftOffset = viewHalf.multiplyBy(-scale).add(currentCenterPoint)
                .subtract(map._getNewPixelOrigin(center, zoom));
            L.DomUtil.setTransform(this._canvas, topLeftOffset, scale);
        },

        _reset: function () {
            var map = this._map;
            var p = this.options.padding;
            var size = map.getSize();
            var min = map.containerPointToLayerPoint(size.multiplyBy(-p)).round();
            this._origin = min;
            this._size = size.multiplyBy(1 + 2 * p).round();
            this._center = map.getCenter();
            this._zoom = map.getZoom();
            L.DomUtil.setPosition(this._canvas, min);
            var ratio = window.devicePixelRatio || 1;
            var pw = Math.max(1, Math.round(this._size.x * ratio));
            var ph = Math.max(1, Math.round(this._size.y * ratio));
            // A canvas given its own size again is cleared and allocated
            // anew: only when the size changes.
            if (this._canvas.width !== pw || this._canvas.height !== ph) {
                this._canvas.width = pw;
                this._canvas.height = ph;
                this._canvas.style.width = this._size.x + 'px';
                this._canvas.style.height = this._size.y + 'px';
            }
            if (!this._image || this._image.width !== pw || this._image.height !== ph) {
                this._image = this._ctx.createImageData(pw, ph);
                this._pixels = new Uint32Array(this._image.data.buffer);
            }
            this._ratio = ratio;
            this.redraw();
        },

        redraw: function () {
            drawPending = false;
            if (!this._map)
                return;
            var ctx = this._ctx;
            var W = this._size.x, H = this._size.y;
            frame += 1;

            var map = this._map;
            var zoom = Math.round(map.getZoom());
            var scale = 256 * Math.pow(2, zoom);
            var pixelOrigin = map.getPixelOrigin();
            var ox = pixelOrigin.x + this._origin.x;
            var oy = pixelOrigin.y + this._origin.y;
            var nw = map.unproject([ox, oy], zoom);
            var se = map.unproject([ox + W, oy + H], zoom);
            var north = Math.min(90, nw.lat), south = Math.max(-90, se.lat);
            var west = nw.lng, east = se.lng;
            var offsets = offsetsFor(west, east);

            // Room per symbol: wide at small scales, where only the main
            // points show, close in where every point counts.
            var cell = zoom <= 6 ? 18 : zoom <= 8 ? 11 : zoom <= 11 ? 8 : 5;
            // and smaller symbols
            var symbolScale = zoom <= 5 ? 0.65 : zoom <= 6 ? 0.8 : 1;
            var cols = Math.ceil(W / cell), rows = Math.ceil(H / cell);
            var taken = new Uint8Array(cols * rows);
            var items = [];
            var counts = {};
            var total = 0;

            function place(m, k, force) {
                if (m._f === frame)
                    return false;
                var lat = Math.max(-MAX_LAT, Math.min(MAX_LAT, m.lat));
                var x = scale * (m.lng + k + 180) / 360 - ox;
                var s = Math.sin(lat * Math.PI / 180);
                var y = scale * (0.5 - Math.log((1 + s) / (1 - s)) / (4 * Math.PI)) - oy;
                if (!(x >= 0 && y >= 0 && x < W && y < H))
                    return false;
                var c = Math.floor(y / cell) * cols + Math.floor(x / cell);
                if (taken[c] && !force)
                    return false;
                taken[c] = 1;
                m._f = frame;
                m._k = k;
                m._x = x;
                m._y = y;
                items.push(m);
                counts[m.listName] = (counts[m.listName] || 0) + 1;
                total += 1;
                return true;
            }

            LAYERS.forEach(function (layer) { counts[layer.list] = 0; });

            // What the editors just added shows whatever the zoom.
            pinned.forEach(function (m) {
                if (managers[LAYER_OF[m.listName].mgr].visible) {
                    for (var i = 0; i < offsets.length; ++i) {
                        if (place(m, offsets[i], true))
                            break;
                    }
                }
            });

            for (var li = 0; li < LAYERS.length && total < MAX_SYMBOLS; ++li) {
                var layer = LAYERS[li];
                var entry = indexes[layer.list];
                if (!managers[layer.mgr].visible || zoom < layer.minZoom || !entry || !entry.index)
                    continue;
                for (var oi = 0; oi < offsets.length && total < MAX_SYMBOLS; ++oi) {
                    var k = offsets[oi];
                    var ids = entry.index.range(Math.max(-180, west - k), south, Math.min(180, east - k), north);
                    var stride = ids.length > QUERY_LIMIT ? Math.ceil(ids.length / QUERY_LIMIT) : 1;
                    for (var i = 0; i < ids.length && total < MAX_SYMBOLS; i += stride)
                        place(entry.list[ids[i]], k, false);
                }
            }

            // Less important symbols first, so that airports end on top.
            items.sort(function (a, b) { return LAYER_OF[b.listName].rank - LAYER_OF[a.listName].rank; });
            var ratio = this._ratio, pixels = this._pixels, pw = this._image.width, ph = this._image.height;
            pixels.fill(0);
            for (var d = 0; d < items.length; ++d) {
                var m = items[d];
                putStamp(pixels, pw, ph, stamp(m.symbol, symbolScale, ratio), m._x * ratio, m._y * ratio);
            }
            ctx.putImageData(this._image, 0, 0);
            ctx.setTransform(ratio, 0, 0, ratio, 0, 0);
            drawLabels(ctx, items, zoom, W, H, symbolScale);

            lastCounts = counts;
            lastFrame = frame;
        }
    });

    // Label widths, measured once: the font never changes.
    var labelWidths = new Map();

    function labelWidth(ctx, label) {
        var w = labelWidths.get(label);
        if (w === undefined) {
            w = ctx.measureText(label).width;
            labelWidths.set(label, w);
        }
        return w;
    }

    function drawLabels(ctx, items, zoom, W, H, symbolScale) {
        var cell = 6;
        var cols = Math.ceil(W / cell), rows = Math.ceil(H / cell);
        var taken = new Uint8Array(cols * rows);
        var drawn = 0;
        ctx.font = '11px "DejaVu Sans", Arial, sans-serif';
        ctx.textBaseline = 'middle';
        ctx.lineJoin = 'round';
        ctx.lineWidth = 3;
        ctx.strokeStyle = 'rgba(255,255,255,0.9)';
        // Most important first: they get the room.
        for (var i = items.length - 1; i >= 0 && drawn < MAX_LABELS; --i) {
            var m = items[i];
            if (zoom < LAYER_OF[m.listName].labelZoom && !m.pinned)
                continue;
            var label = m.label();
            if (!label)
                continue;
            var w = labelWidth(ctx, label);
            var x = m._x + NavSymbols.size(m.symbol) * symbolScale / 2 + 1;
            var y = m._y;
            var c0 = Math.max(0, Math.floor(x / cell)), c1 = Math.min(cols - 1, Math.floor((x + w) / cell));
            var r0 = Math.max(0, Math.floor((y - 6) / cell)), r1 = Math.min(rows - 1, Math.floor((y + 6) / cell));
            var free = true;
            for (var r = r0; r <= r1 && free; ++r) {
                for (var c = c0; c <= c1; ++c) {
                    if (taken[r * cols + c]) {
                        free = false;
                        break;
                    }
                }
            }
            if (!free)
                continue;
            for (var r2 = r0; r2 <= r1; ++r2) {
                for (var c2 = c0; c2 <= c1; ++c2)
                    taken[r2 * cols + c2] = 1;
            }
            ctx.fillStyle = LABEL_COLORS[m.symbol] || '#333';
            ctx.strokeText(label, x, y);
            ctx.fillText(label, x, y);
            drawn += 1;
        }
    }

    var lastFrame = 0;
    var drawPending = false;
    var navLayer = new NavLayer().addTo(lmap);

    // Data changes are drawn once the current script has run.
    function requestDraw() {
        if (drawPending)
            return;
        drawPending = true;
        setTimeout(function () {
            if (drawPending)
                navLayer.redraw();
        }, 0);
    }

    function flushDraw() {
        applyPendingCenter();
        flushAts();
        if (drawPending)
            navLayer.redraw();
    }

    // The drawn marker nearest to a point of the map container, within a few
    // pixels; null when there is none.
    function hitTest(point) {
        flushDraw();
        var radius = 9;
        var a = lmap.containerPointToLatLng([point.x - radius, point.y - radius]);
        var b = lmap.containerPointToLatLng([point.x + radius, point.y + radius]);
        var north = a.lat, south = b.lat, west = a.lng, east = b.lng;
        var best = null, bestDist = radius * radius + 1;

        function consider(m) {
            if (!m || m._f !== lastFrame)
                return;
            var p = lmap.latLngToContainerPoint([m.lat, m.lng + m._k]);
            var dx = p.x - point.x, dy = p.y - point.y;
            var dist = dx * dx + dy * dy;
            if (dist < bestDist || (dist === bestDist && best && LAYER_OF[m.listName].rank < LAYER_OF[best.listName].rank)) {
                best = m;
                bestDist = dist;
            }
        }

        pinned.forEach(consider);
        LAYERS.forEach(function (layer) {
            var entry = indexes[layer.list];
            if (!entry || !entry.index || !managers[layer.mgr].visible)
                return;
            offsetsFor(west, east).forEach(function (k) {
                entry.index.range(Math.max(-180, west - k), south, Math.min(180, east - k), north)
                    .forEach(function (id) { consider(entry.list[id]); });
            });
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

    // The editors' markers: into the list and on the map at once.
    window.addVORMarker2 = function (pos, title, typeCode, info) {
        var m = window.addVORMarker(pos, title, typeCode, info);
        showNow(m, NAVAID_LISTS);
        return m;
    };
    window.addNDBMarker2 = function (pos, title, usageCode, info) {
        var m = window.addNDBMarker(pos, title, usageCode, info);
        showNow(m, NAVAID_LISTS);
        return m;
    };
    window.addWPTMarker2 = function (pos, title, usageCode, info) {
        var m = window.addWPTMarker(pos, title, usageCode, info);
        showNow(m, WAYPOINT_LISTS);
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

    // ------------------------------------------------------------------
    // ATS routes: one line layer per level letter.

    var ATS_COLORS = { L: '#4f7fb0', H: '#9c5a88', B: '#5a8a4f' };
    var atsLevels = {};
    var atsCurrent = null;
    var atsTimer = null;

    function atsLevel(letter) {
        var key = text(letter).trim().charAt(0).toUpperCase() || '?';
        if (!atsLevels[key])
            atsLevels[key] = { routes: [], shown: false, layer: null, dirty: false, color: ATS_COLORS[key] || '#7a7a7a' };
        return atsLevels[key];
    }

    function scheduleAts() {
        // Routes come one call at a time: draw once they stop coming.
        if (atsTimer)
            clearTimeout(atsTimer);
        atsTimer = setTimeout(flushAts, 60);
    }

    function flushAts() {
        if (atsTimer) {
            clearTimeout(atsTimer);
            atsTimer = null;
        }
        Object.keys(atsLevels).forEach(function (key) {
            var level = atsLevels[key];
            var lines = level.routes.filter(function (r) { return r.length >= 2; });
            if (level.shown && lines.length) {
                if (!level.layer) {
                    level.layer = L.polyline(lines, {
                        renderer: atsRenderer, interactive: false, color: level.color,
                        weight: 1.2, opacity: 0.85
                    });
                } else if (level.dirty) {
                    level.layer.setLatLngs(lines);
                }
                level.dirty = false;
                if (!lmap.hasLayer(level.layer))
                    level.layer.addTo(lmap);
            } else if (level.layer && lmap.hasLayer(level.layer)) {
                level.layer.remove();
            }
        });
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
        scheduleAts();
    };

    window.showATS = function (letter, on) {
        var level = atsLevel(letter);
        level.shown = Number(on) !== 0 && !!on;
        scheduleAts();
    };

    // ------------------------------------------------------------------
    // Runways of an airport.

    var runwayLayer = L.layerGroup().addTo(lmap);
    var runways = [];

    window.clearRunway = function () {
        runwayLayer.clearLayers();
        runways = [];
    };

    window.drawRwy = function (posHigh, posLow) {
        var a = toPos(posHigh), b = toPos(posLow);
        if (!a || !b)
            return;
        var line = [[a.lat, a.lng], [b.lat, b.lng]];
        L.polyline(line, { renderer: rwyRenderer, interactive: false, color: '#262626', weight: 7, lineCap: 'butt' })
            .addTo(runwayLayer);
        L.polyline(line, { renderer: rwyRenderer, interactive: false, color: '#ffffff', weight: 1, dashArray: '6 5', lineCap: 'butt' })
            .addTo(runwayLayer);
        runways.push({ high: a, low: b });
    };

    // ------------------------------------------------------------------
    // Flight plan and procedures.

    // The name beside a point of the plan or of a procedure: a label of its
    // own, removed with the rest of the drawing.
    function pointLabel(latlng, name, direction, className) {
        return L.tooltip({
            permanent: true, interactive: false, direction: direction,
            offset: [direction === 'left' ? -6 : 6, 0], className: className
        }).setLatLng(latlng).setContent(textElement('span', null, name));
    }

    // Points of a line, each longitude brought next to the one before.
    function continuous(points) {
        var out = [];
        points.forEach(function (p, i) {
            var lng = p.lng;
            if (i > 0) {
                var prev = out[i - 1][1];
                while (lng - prev > 180) lng -= 360;
                while (lng - prev < -180) lng += 360;
            }
            out.push([p.lat, lng]);
        });
        return out;
    }

    var fpLayer = L.layerGroup().addTo(lmap);
    var fpPending = [];
    var fpDrawn = [];

    window.clearFP = function () {
        fpPending = [];
        fpDrawn = [];
        fpLayer.clearLayers();
    };

    window.addPointToFp = function (pos, name) {
        var p = toPos(pos);
        if (p)
            fpPending.push({ lat: p.lat, lng: p.lng, name: text(name) });
    };

    window.pushFP = function () {
        fpLayer.clearLayers();
        fpDrawn = fpPending.slice();
        var line = continuous(fpDrawn);
        if (line.length >= 2) {
            L.polyline(line, { renderer: fpRenderer, interactive: false, color: '#ffffff', weight: 7, opacity: 0.8 })
                .addTo(fpLayer);
            L.polyline(line, { renderer: fpRenderer, interactive: false, color: NavSymbols.COLORS.route, weight: 3.5 })
                .addTo(fpLayer);
        }
        line.forEach(function (ll, i) {
            L.circleMarker(ll, {
                renderer: fpRenderer, interactive: false, radius: 4.5, weight: 2,
                color: NavSymbols.COLORS.route, fillColor: '#ffffff', fillOpacity: 1
            }).addTo(fpLayer);
            pointLabel(ll, fpDrawn[i].name, 'right', 'nav-fp-label').addTo(fpLayer);
        });
    };

    var ssLayer = L.layerGroup().addTo(lmap);
    var ssLine = null;
    var ssPoints = [];

    window.clearSS = function () {
        ssLayer.clearLayers();
        ssLine = null;
        ssPoints = [];
    };

    // A procedure is drawn point by point, in its own colour.
    window.addPointToSS = function (pos, name) {
        var p = toPos(pos);
        if (!p)
            return;
        var lng = p.lng;
        if (ssPoints.length) {
            var prev = ssPoints[ssPoints.length - 1].drawnLng;
            while (lng - prev > 180) lng -= 360;
            while (lng - prev < -180) lng += 360;
        }
        ssPoints.push({ lat: p.lat, lng: p.lng, name: text(name), drawnLng: lng });
        if (!ssLine) {
            ssLine = L.polyline([], {
                renderer: procRenderer, interactive: false, color: NavSymbols.COLORS.procedure,
                weight: 3, dashArray: '9 5'
            }).addTo(ssLayer);
        }
        ssLine.addLatLng([p.lat, lng]);
        L.circleMarker([p.lat, lng], {
            renderer: procRenderer, interactive: false, radius: 4, weight: 2,
            color: NavSymbols.COLORS.procedure, fillColor: '#ffffff', fillOpacity: 1
        }).addTo(ssLayer);
        pointLabel([p.lat, lng], text(name), 'left', 'nav-ss-label').addTo(ssLayer);
    };

    // ------------------------------------------------------------------
    // Start position and the live aircraft.

    function planeIcon(className, hdg) {
        var colors = className === 'nav-sit' ? ['#1565c0', '#ffffff'] : ['#e65100', '#ffffff'];
        return L.divIcon({
            className: 'nav-plane ' + className,
            html: '<div class="nav-plane-rot" style="transform: rotate(' + hdg + 'deg)">'
                + NavSymbols.aircraftSvg(colors[0], colors[1]) + '</div>',
            iconSize: [32, 32],
            iconAnchor: [16, 16]
        });
    }

    function rotatePlane(marker, hdg) {
        var el = marker.getElement();
        var rot = el && el.querySelector('.nav-plane-rot');
        if (rot)
            rot.style.transform = 'rotate(' + hdg + 'deg)';
    }

    var sitMarker = null;
    var sitState = null;

    window.addSitMarker = function (pos, aircraftName, headingDegrees) {
        var p = toPos(pos);
        if (!p)
            return;
        var hdg = heading(headingDegrees);
        sitState = { name: text(aircraftName), heading: hdg };
        if (!sitMarker) {
            sitMarker = L.marker([p.lat, p.lng], {
                icon: planeIcon('nav-sit', hdg), draggable: true, autoPan: true,
                keyboard: false, zIndexOffset: 500
            }).addTo(lmap);
            sitMarker.on('dragend', function () {
                var ll = sitMarker.getLatLng();
                var lat = round6(ll.lat), lng = round6(wrapLng(ll.lng));
                sitMarker.setLatLng([lat, lng]);
                window.mainWindow.doMoveSIT(lat, lng);
            });
        } else {
            sitMarker.setLatLng([p.lat, p.lng]);
            rotatePlane(sitMarker, hdg);
        }
        var tip = T.sit + (sitState.name ? T.colon + sitState.name : '') + ' (' + T.heading + ' ' + hdg + '\u00b0)';
        sitMarker.unbindTooltip();
        sitMarker.bindTooltip(textElement('span', null, tip), { direction: 'top', offset: [0, -14] });
    };

    var aircraft = null;
    var aircraftHeading = 0;

    window.addAcftMrkr = function (pos, name, value) {
        window.eraseAcftMrkr();
        var p = toPos(pos);
        if (!p)
            return;
        aircraftHeading = heading(value);
        aircraft = L.marker([p.lat, p.lng], {
            icon: planeIcon('nav-acft', aircraftHeading), interactive: !!text(name),
            keyboard: false, zIndexOffset: 1000
        }).addTo(lmap);
        if (text(name))
            aircraft.bindTooltip(textElement('span', null, text(name)), { direction: 'top', offset: [0, -14] });
    };

    window.setAcftMrkr = function (pos, value) {
        if (!aircraft) {
            window.addAcftMrkr(pos, '', value);
            return;
        }
        var p = toPos(pos);
        if (!p)
            return;
        aircraftHeading = heading(value);
        aircraft.setLatLng([p.lat, p.lng]);
        rotatePlane(aircraft, aircraftHeading);
    };

    window.eraseAcftMrkr = function () {
        if (aircraft) {
            aircraft.remove();
            aircraft = null;
        }
    };

    // ------------------------------------------------------------------
    // The map object of the program's texts.

    // Centring requests are thinned out: the aircraft trace may ask for a
    // new centre hundreds of times a second, and a redraw for each would
    // leave the page further and further behind.
    var pendingCenter = null;
    var centerTimer = null;
    var lastCenterTime = 0;
    function applyPendingCenter() {
        centerTimer = null;
        if (!pendingCenter)
            return;
        lastCenterTime = Date.now();
        var p = pendingCenter;
        pendingCenter = null;
        // A reset, not a pan: a pan moves by whole pixels and the program
        // reads back the centre it set.
        lmap.setView([p.lat, p.lng], lmap.getZoom(), { reset: true });
    }

    window.map = {
        setCenter: function (pos) {
            var p = toPos(pos);
            if (!p)
                return;
            // The first request of a burst is applied at once, the next
            // ones at most every 40 ms, the last one always.
            var wait = lastCenterTime + 40 - Date.now();
            pendingCenter = p;
            if (wait <= 0)
                applyPendingCenter();
            else if (!centerTimer)
                centerTimer = window.setTimeout(applyPendingCenter, wait);
        },
        getCenter: function () {
            if (pendingCenter)
                return new LatLng(pendingCenter.lat, wrapLng(pendingCenter.lng));
            var c = lmap.getCenter();
            return new LatLng(c.lat, wrapLng(c.lng));
        },
        setZoom: function (zoom) {
            var z = Number(zoom);
            if (isFinite(z))
                lmap.setZoom(Math.round(z), { animate: false });
        },
        getZoom: function () {
            return lmap.getZoom();
        },
        panTo: function (pos) {
            var p = toPos(pos);
            if (p)
                lmap.panTo([p.lat, p.lng]);
        }
    };

    // ------------------------------------------------------------------
    // Info windows, hover, context menu.

    var infoMarker = null;

    function openInfo(m) {
        infoMarker = m;
        L.popup({ maxWidth: 320, className: 'nav-info', autoPanPadding: [24, 24] })
            .setLatLng([m.lat, m.lng + m._k])
            .setContent(m.info || textElement('b', null, m.label()))
            .openOn(lmap);
    }
    lmap.on('popupclose', function () { infoMarker = null; });

    var hoverEl = L.DomUtil.create('div', 'nav-hover', container);
    var hoverMarker = null;

    function showHover(m) {
        hoverMarker = m;
        var p = lmap.latLngToContainerPoint([m.lat, m.lng + m._k]);
        hoverEl.textContent = m.label();
        hoverEl.style.left = Math.round(p.x + 10) + 'px';
        hoverEl.style.top = Math.round(p.y - 26) + 'px';
        hoverEl.style.display = 'block';
        L.DomUtil.addClass(container, 'nav-pointer');
    }

    function hideHover() {
        hoverMarker = null;
        hoverEl.style.display = 'none';
        L.DomUtil.removeClass(container, 'nav-pointer');
    }

    var menuEl = null;

    function closeMenu() {
        if (menuEl) {
            L.DomUtil.remove(menuEl);
            menuEl = null;
        }
    }

    // Calls the program; the marker acted on becomes theLast first.
    function act(marker, slot, args) {
        window.theLast = marker;
        var target = window.mainWindow;
        if (target && typeof target[slot] === 'function')
            target[slot].apply(target, args);
    }

    function markerMenu(m) {
        var lat = round6(m.lat), lng = round6(wrapLng(m.lng));
        if (m.kind === 'APT') {
            return [
                [T.addToPlan, function () { act(m, 'sAddAptToFp', [m.title]); }],
                [T.showRunways, function () { act(m, 'doViewRwy', [m.title]); }],
                [T.startHere, function () { act(m, 'sAddSitToFp', [lat, lng]); }]
            ];
        }
        var nav = m.kind !== 'WPT';
        return [
            [T.addToPlan, function () { act(m, nav ? 'sAddNavToFp' : 'sAddWptToFp', [m.title]); }],
            [T.modify, function () { act(m, nav ? 'sAddNavToDB' : 'sAddWptToDB', [m.title, lat, lng]); }],
            [T.remove, function () { act(m, nav ? 'sDelNavFromDB' : 'sDelWptFromDB', [m.title]); }]
        ];
    }

    function mapMenu(latlng) {
        var lat = round6(latlng.lat), lng = round6(wrapLng(latlng.lng));
        return [
            [T.newUserWpt, function () { act(null, 'sAddNewWptToFp', ['WP', lat, lng]); }],
            [T.createNav, function () { act(null, 'sAddNavToDB', ['', lat, lng]); }],
            [T.createWpt, function () { act(null, 'sAddWptToDB', ['', lat, lng]); }],
            [T.startPos, function () { act(null, 'sAddSitToFp', [lat, lng]); }]
        ];
    }

    function openMenu(point, latlng) {
        closeMenu();
        hideHover();
        var m = hitTest(point);
        var entries = m ? markerMenu(m) : mapMenu(latlng);
        var title = m ? m.label() : latlng.lat.toFixed(5) + ' ' + wrapLng(latlng.lng).toFixed(5);
        menuEl = L.DomUtil.create('div', 'nav-menu', container);
        menuEl.appendChild(textElement('div', 'nav-menu-title', title));
        entries.forEach(function (entry) {
            var item = textElement('div', 'nav-menu-item', entry[0]);
            item.addEventListener('click', function (e) {
                e.stopPropagation();
                closeMenu();
                entry[1]();
            });
            menuEl.appendChild(item);
        });
        L.DomEvent.disableClickPropagation(menuEl);
        L.DomEvent.disableScrollPropagation(menuEl);
        menuEl.addEventListener('contextmenu', function (e) { e.preventDefault(); e.stopPropagation(); });
        var size = lmap.getSize();
        var x = Math.min(point.x, Math.max(0, size.x - menuEl.offsetWidth - 4));
        var y = Math.min(point.y, Math.max(0, size.y - menuEl.offsetHeight - 4));
        menuEl.style.left = Math.round(x) + 'px';
        menuEl.style.top = Math.round(y) + 'px';
        return m;
    }

    container.addEventListener('contextmenu', function (e) { e.preventDefault(); });
    document.addEventListener('keydown', function (e) {
        if (e.key === 'Escape')
            closeMenu();
    });

    lmap.on('contextmenu', function (e) {
        openMenu(e.containerPoint, e.latlng);
    });
    lmap.on('click', function (e) {
        if (menuEl) {
            closeMenu();
            return;
        }
        var m = hitTest(e.containerPoint);
        if (m)
            openInfo(m);
    });
    lmap.on('movestart zoomstart', function () {
        closeMenu();
        hideHover();
    });

    // ------------------------------------------------------------------
    // What the page tells the program: view and cursor position.

    var VIEW_INTERVAL = 100;   // ms, at most ten reports a second
    var viewTimer = null;
    var lastViewSent = 0;

    function sendView() {
        if (viewTimer) {
            clearTimeout(viewTimer);
            viewTimer = null;
        }
        lastViewSent = Date.now();
        var c = lmap.getCenter();
        window.mainWindow.doCenter(c.lat, wrapLng(c.lng));
        window.mainWindow.doZoom(Math.round(lmap.getZoom()));
    }

    function reportView() {
        var wait = VIEW_INTERVAL - (Date.now() - lastViewSent);
        if (wait <= 0)
            sendView();
        else if (!viewTimer)
            viewTimer = setTimeout(sendView, wait);
    }
    lmap.on('moveend', reportView);

    var DATA_INTERVAL = 60;
    var dataTimer = null;
    var dataText = null;

    function cursorText(latlng) {
        return latlng.lat.toFixed(5) + ' ' + wrapLng(latlng.lng).toFixed(5);
    }

    function sendData() {
        dataTimer = null;
        if (dataText !== null)
            window.mainWindow.doData(dataText);
        dataText = null;
    }

    // Straight from the DOM: the map's own mousemove passes through its
    // canvas renderers, which hold it back between frames.
    container.addEventListener('mousemove', function (e) {
        if (lmap.dragging && lmap.dragging.moving())
            return;
        var target = e.target;
        if (target && target.closest && target.closest('.leaflet-control, .nav-menu')) {
            hideHover();
            return;
        }
        var point = lmap.mouseEventToContainerPoint(e);
        dataText = cursorText(lmap.containerPointToLatLng(point));
        if (!dataTimer)
            dataTimer = setTimeout(sendData, DATA_INTERVAL);
        if (menuEl)
            return;
        var m = hitTest(point);
        if (m)
            showHover(m);
        else
            hideHover();
    }, true);
    container.addEventListener('mouseleave', hideHover);

    // ------------------------------------------------------------------
    // Legend.

    var LEGEND_SYMBOLS = [
        ['airport', 'airport'], ['vor', 'vor'], ['vordme', 'vordme'], ['vortac', 'vortac'],
        ['dme', 'dme'], ['ndb', 'ndb'], ['wptRte', 'wptRte'], ['wptTerm', 'wptTerm'], ['wptVfr', 'wptVfr']
    ];
    var LEGEND_LINES = [
        ['atsL', ATS_COLORS.L, 1.5, []], ['atsH', ATS_COLORS.H, 1.5, []], ['atsB', ATS_COLORS.B, 1.5, []],
        ['route', NavSymbols.COLORS.route, 3, []], ['procedure', NavSymbols.COLORS.procedure, 3, [6, 3]]
    ];

    var Legend = L.Control.extend({
        options: { position: 'topright' },
        onAdd: function () {
            var box = L.DomUtil.create('div', 'leaflet-bar nav-legend');
            var button = textElement('a', 'nav-legend-button', T.legend);
            button.setAttribute('role', 'button');
            box.appendChild(button);
            var panel = L.DomUtil.create('div', 'nav-legend-panel', box);
            var ratio = window.devicePixelRatio || 1;

            function row(paint, label) {
                var line = L.DomUtil.create('div', 'nav-legend-row', panel);
                var canvas = L.DomUtil.create('canvas', 'nav-legend-symbol', line);
                canvas.width = 28 * ratio;
                canvas.height = 20 * ratio;
                canvas.style.width = '28px';
                canvas.style.height = '20px';
                var ctx = canvas.getContext('2d');
                ctx.scale(ratio, ratio);
                paint(ctx);
                line.appendChild(textElement('span', null, label));
            }
            LEGEND_SYMBOLS.forEach(function (s) {
                row(function (ctx) { NavSymbols.draw(ctx, s[0], 14, 10); }, T[s[1]]);
            });
            LEGEND_LINES.forEach(function (s) {
                row(function (ctx) {
                    ctx.strokeStyle = s[1];
                    ctx.lineWidth = s[2];
                    ctx.setLineDash(s[3]);
                    ctx.beginPath();
                    ctx.moveTo(2, 10);
                    ctx.lineTo(26, 10);
                    ctx.stroke();
                }, T[s[0]]);
            });
            row(function (ctx) {
                var img = new Image();
                img.onload = function () { ctx.drawImage(img, 5, 1, 18, 18); };
                img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(NavSymbols.aircraftSvg('#1565c0', '#ffffff'));
            }, T.sit);
            row(function (ctx) {
                var img = new Image();
                img.onload = function () { ctx.drawImage(img, 5, 1, 18, 18); };
                img.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(NavSymbols.aircraftSvg('#e65100', '#ffffff'));
            }, T.aircraft);

            L.DomEvent.disableClickPropagation(box);
            L.DomEvent.disableScrollPropagation(box);
            button.addEventListener('click', function () {
                L.DomUtil.hasClass(box, 'open') ? L.DomUtil.removeClass(box, 'open') : L.DomUtil.addClass(box, 'open');
            });
            this._box = box;
            return box;
        },
        setOpen: function (open) {
            if (open)
                L.DomUtil.addClass(this._box, 'open');
            else
                L.DomUtil.removeClass(this._box, 'open');
        }
    });
    var legend = new Legend().addTo(lmap);

    // ------------------------------------------------------------------
    // Read-only look into the page, for the program's tests.

    function dispatchMouse(type, lat, lng, button) {
        var p = lmap.latLngToContainerPoint([lat, lng]);
        var rect = container.getBoundingClientRect();
        var x = rect.left + p.x, y = rect.top + p.y;
        var target = document.elementFromPoint(x, y) || container;
        target.dispatchEvent(new MouseEvent(type, {
            bubbles: true, cancelable: true, view: window,
            clientX: x, clientY: y, button: button || 0, buttons: 0
        }));
    }

    function menuItems() {
        if (!menuEl)
            return [];
        return Array.prototype.map.call(menuEl.querySelectorAll('.nav-menu-item'),
            function (el) { return el.textContent; });
    }

    window.__navDebug = Object.freeze({
        lang: LANG,
        lists: LAYERS.map(function (layer) { return layer.list; }),
        listSize: function (name) { return (window[name] || []).length; },
        indexedCount: function (name) { return indexes[name] ? indexes[name].count : 0; },
        // How many markers of a list the map shows now.
        visibleCount: function (name) {
            flushDraw();
            return lastCounts[name] || 0;
        },
        totalVisible: function () {
            flushDraw();
            return Object.keys(lastCounts).reduce(function (sum, k) { return sum + lastCounts[k]; }, 0);
        },
        redraw: function () {
            flushAts();
            navLayer.redraw();
            return frame;
        },
        managerVisible: function (mgr) { return !!managers[mgr] && managers[mgr].visible; },
        symbolOf: function (name, title) {
            var m = (window[name] || []).filter(function (x) { return x.title === title; })[0];
            return m ? m.symbol : '';
        },
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
                onMap: !!level.layer && lmap.hasLayer(level.layer)
            };
        },
        flightPlan: function () {
            return fpDrawn.map(function (p) { return { lat: p.lat, lng: p.lng, name: p.name }; });
        },
        flightPlanLabels: function () {
            return fpLayer.getLayers().filter(function (l) { return l instanceof L.Tooltip; })
                .map(function (l) { return l.getContent().textContent; });
        },
        procedureLabels: function () {
            return ssLayer.getLayers().filter(function (l) { return l instanceof L.Tooltip; })
                .map(function (l) { return l.getContent().textContent; });
        },
        flightPlanLine: function () {
            var lines = fpLayer.getLayers().filter(function (l) { return l instanceof L.Polyline && !(l instanceof L.CircleMarker); });
            return lines.length ? lines[lines.length - 1].getLatLngs().length : 0;
        },
        procedure: function () {
            return ssPoints.map(function (p) { return { lat: p.lat, lng: p.lng, name: p.name }; });
        },
        procedureLine: function () { return ssLine ? ssLine.getLatLngs().length : 0; },
        runways: function () {
            return runways.map(function (r) { return [r.high.lat, r.high.lng, r.low.lat, r.low.lng]; });
        },
        sitMarker: function () {
            if (!sitMarker)
                return null;
            var ll = sitMarker.getLatLng();
            return {
                lat: ll.lat, lng: ll.lng, name: sitState.name, heading: sitState.heading,
                draggable: !!(sitMarker.dragging && sitMarker.dragging.enabled()),
                rotation: sitMarker.getElement().querySelector('.nav-plane-rot').style.transform
            };
        },
        dragSitTo: function (lat, lng) {
            if (!sitMarker)
                return false;
            sitMarker.setLatLng([lat, lng]);
            sitMarker.fire('dragend');
            return true;
        },
        aircraft: function () {
            if (!aircraft)
                return null;
            var ll = aircraft.getLatLng();
            return {
                lat: ll.lat, lng: ll.lng, heading: aircraftHeading,
                rotation: aircraft.getElement().querySelector('.nav-plane-rot').style.transform
            };
        },
        theLastTitle: function () { return window.theLast ? window.theLast.title : null; },
        // Mouse events as the user makes them, at a position of the map.
        rightClickAt: function (lat, lng) {
            dispatchMouse('contextmenu', lat, lng, 2);
            return menuItems();
        },
        clickAt: function (lat, lng) {
            flushDraw();
            dispatchMouse('click', lat, lng, 0);
            var popup = lmap._popup;
            return popup && lmap.hasLayer(popup) ? String(popup.getContent()) : '';
        },
        moveMouseTo: function (lat, lng) {
            flushDraw();
            dispatchMouse('mousemove', lat, lng, 0);
            return hoverEl.style.display === 'block' ? hoverEl.textContent : '';
        },
        menuTitle: function () {
            var el = menuEl && menuEl.querySelector('.nav-menu-title');
            return el ? el.textContent : null;
        },
        menuItems: menuItems,
        clickMenuItem: function (label) {
            if (!menuEl)
                return false;
            var items = menuEl.querySelectorAll('.nav-menu-item');
            for (var i = 0; i < items.length; ++i) {
                if (items[i].textContent === label) {
                    items[i].click();
                    return true;
                }
            }
            return false;
        },
        baseMap: function () { return { land: baseInfo.land, borders: baseInfo.borders }; },
        onlineTiles: function () { return lmap.hasLayer(onlineTiles); },
        setOnlineTiles: function (on) {
            if (on)
                onlineTiles.addTo(lmap);
            else
                onlineTiles.remove();
        },
        showLegend: function (open) { legend.setOpen(!!open); },
        scaleTexts: function () {
            return Array.prototype.map.call(container.querySelectorAll('.leaflet-control-scale-line'),
                function (el) { return el.textContent; });
        }
    });

    // The program learns the view once the page is up.
    sendView();
})();
