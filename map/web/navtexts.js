// The texts of the map page, in its language, and the values the
// program's texts carry: positions (the position type the program's calls
// build), names, headings.
//
// The first script of the page: it sets up NavPage, the namespace the
// page's scripts share (see navigator.js).
(function () {
    'use strict';

    var NavPage = window.NavPage = { debug: {} };

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

    // The key a marker title "name-key" names, read against `keys`: name
    // and key may both hold dashes, so it is the text after the first dash,
    // from the left, that is one of the keys, compared exactly; empty when
    // none is.
    function keyIn(title, keys) {
        var text = title.trim();
        for (var dash = text.indexOf('-'); dash >= 0; dash = text.indexOf('-', dash + 1)) {
            var rest = text.substring(dash + 1);
            if (keys.indexOf(rest) >= 0)
                return rest;
        }
        return '';
    }

    // An element holding plain text: names from the program never become HTML.
    function textElement(tag, className, content) {
        var el = document.createElement(tag);
        if (className)
            el.className = className;
        el.textContent = content;
        return el;
    }

    // For the page's other scripts.
    NavPage.T = T;
    NavPage.LatLng = LatLng;
    NavPage.wrapLng = wrapLng;
    NavPage.toPos = toPos;
    NavPage.round6 = round6;
    NavPage.text = text;
    NavPage.heading = heading;
    NavPage.labelOf = labelOf;
    NavPage.keyIn = keyIn;
    NavPage.textElement = textElement;

    // Hooks of the program's tests (__navDebug).
    Object.assign(NavPage.debug, {
        lang: LANG
    });
})();
