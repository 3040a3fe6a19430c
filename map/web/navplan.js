// What the program draws for the flight: the runways of an airport, the
// flight plan and the SID/STAR procedure.
(function () {
    'use strict';

    var toPos = NavPage.toPos, text = NavPage.text, textElement = NavPage.textElement;
    var lmap = NavPage.lmap, rwyRenderer = NavPage.rwyRenderer;
    var fpRenderer = NavPage.fpRenderer, procRenderer = NavPage.procRenderer;

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

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
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
        }
    });
})();
