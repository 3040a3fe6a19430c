// What the user does on the map: info windows, the label under the
// cursor, the context menus that call the program, the cursor position
// sent to the program, and the legend.
(function () {
    'use strict';

    var T = NavPage.T, textElement = NavPage.textElement, round6 = NavPage.round6, wrapLng = NavPage.wrapLng;
    var container = NavPage.container, lmap = NavPage.lmap;
    var ATS_COLORS = NavPage.ATS_COLORS, hitTest = NavPage.hitTest, flushDraw = NavPage.flushDraw;

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
    // What the page tells the program of the cursor: its position.

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
    // For the program's tests: mouse events as the user makes them.

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

    // For the page's other scripts.
    NavPage.infoMarker = function () { return infoMarker; };
    NavPage.hoverMarker = function () { return hoverMarker; };
    NavPage.hideHover = hideHover;

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
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
        showLegend: function (open) { legend.setOpen(!!open); }
    });
})();
