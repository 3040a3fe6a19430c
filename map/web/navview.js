// The view: the map object of the program's texts (centre and zoom, as the
// aircraft trace moves them up to once a frame) and the reports of the view
// to the program.
(function () {
    'use strict';

    var LatLng = NavPage.LatLng, toPos = NavPage.toPos, wrapLng = NavPage.wrapLng;
    var lmap = NavPage.lmap;

    // ------------------------------------------------------------------
    // The map object of the program's texts.

    // Centring. The aircraft trace asks for the aircraft's position as the
    // centre while it moves, up to once a frame, from one pixel to the next.
    // A centre already shown (or on its way) is not applied again; a move
    // within the view pans the map, so that the tiles drawn stay and only
    // those coming into view are drawn; only a jump further than the view
    // starts the view afresh. Requests closer together than a frame are
    // applied once, the last one winning. A move of less than SLACK_PX
    // pixels is not drawn: the map moves every other frame or so instead of
    // every frame, with the aircraft a pixel off its middle meanwhile.
    var FRAME_MS = 16;
    var SLACK_PX = 2;
    var pendingCenter = null;
    var centerTimer = null;
    var lastCenterTime = 0;
    // The centre last asked for, while the map stays where that put it: a
    // pan moves by whole pixels (and not at all by less than SLACK_PX), and
    // the program reads back the centre it set, not the pixel's.
    var askedCenter = null;
    var panning = false;

    function sameCenter(a, b) {
        return !!a && !!b && a.lat === b.lat && a.lng === b.lng;
    }

    // The centre the map shows, as the program last set it if it did.
    function viewCenter() {
        if (pendingCenter)
            return pendingCenter;
        if (askedCenter)
            return askedCenter;
        var c = lmap.getCenter();
        return { lat: c.lat, lng: c.lng };
    }

    function moveCenter(p) {
        var zoom = lmap.getZoom();
        var here = lmap.getCenter();
        // The copy of the world nearest the view: no jump at the antimeridian.
        var lng = p.lng + 360 * Math.round((here.lng - p.lng) / 360);
        var offset = lmap.project([p.lat, lng], zoom).subtract(lmap.project(here, zoom)).round();
        var size = lmap.getSize();
        var within = Math.abs(offset.x) < size.x && Math.abs(offset.y) < size.y;
        var moved = !within || Math.abs(offset.x) >= SLACK_PX || Math.abs(offset.y) >= SLACK_PX;
        // Set first: the map reports its view as it moves.
        askedCenter = { lat: p.lat, lng: p.lng };
        panning = true;
        try {
            if (!within)
                lmap.setView([p.lat, lng], zoom, { animate: false });
            else if (moved)
                lmap.panBy(offset, { animate: false });
        } finally {
            panning = false;
        }
        // The program hears of the new centre even when the map stayed.
        if (!moved)
            reportView();
    }
    var viewResets = 0;   // for the tests: a view started afresh draws every tile again
    lmap.on('viewreset', function () { viewResets += 1; });
    // Anything else that moves the map (the user, a zoom) makes its own
    // centre the one shown.
    lmap.on('movestart zoomstart', function () {
        if (!panning)
            askedCenter = null;
    });

    function applyPendingCenter() {
        if (centerTimer) {
            clearTimeout(centerTimer);
            centerTimer = null;
        }
        if (!pendingCenter)
            return;
        lastCenterTime = Date.now();
        var p = pendingCenter;
        pendingCenter = null;
        moveCenter(p);
    }

    window.map = {
        setCenter: function (pos) {
            var p = toPos(pos);
            if (!p || sameCenter(p, viewCenter()))
                return;
            pendingCenter = p;
            var wait = lastCenterTime + FRAME_MS - Date.now();
            if (wait <= 0)
                applyPendingCenter();
            else if (!centerTimer)
                centerTimer = window.setTimeout(applyPendingCenter, wait);
        },
        getCenter: function () {
            var c = viewCenter();
            return new LatLng(c.lat, wrapLng(c.lng));
        },
        setZoom: function (zoom) {
            var z = Number(zoom);
            if (!isFinite(z) || Math.round(z) === lmap.getZoom())
                return;
            // Around the centre shown (or on its way), as the program set it.
            var c = viewCenter();
            pendingCenter = null;
            if (centerTimer) {
                clearTimeout(centerTimer);
                centerTimer = null;
            }
            lmap.setView([c.lat, c.lng], Math.round(z), { animate: false });
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
        var c = viewCenter();
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

    // For the page's other scripts.
    NavPage.applyPendingCenter = applyPendingCenter;
    NavPage.sendView = sendView;

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
        viewResets: function () { return viewResets; }
    });
})();
