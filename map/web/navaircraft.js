// The start position (dragged by the user) and the live aircraft of the
// trace.
(function () {
    'use strict';

    var T = NavPage.T, toPos = NavPage.toPos, text = NavPage.text, textElement = NavPage.textElement;
    var heading = NavPage.heading, round6 = NavPage.round6, wrapLng = NavPage.wrapLng;
    var lmap = NavPage.lmap;

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

    // The tiles keep a margin around the view while the aircraft shows.
    NavPage.aircraftShown = function () { return !!aircraft; };

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
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
        }
    });
})();
