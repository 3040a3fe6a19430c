// The map page of Corvane Navigator.
//
// The program drives the page through globals (markers, routes,
// flight plan, procedures, runways, start position, aircraft); the page
// calls the program back through window.mainWindow (bridge.js). The map is
// Leaflet over an offline Natural Earth base map; an online tile layer can
// be switched on from the layer control.
//
// Markers are kept in plain arrays (listApt, listVOR, ...). Publishing a list
// (pushAPT, addNavMgr, addWptMgr) builds a spatial index over it. The land,
// the routes and the chart symbols are drawn in canvas tiles that ask the
// indexes for what lies in them and show, per zoom level, what a chart of
// that scale shows; a pan draws only the tiles coming into view, so that
// hundreds of thousands of points stay cheap.
//
// The page's scripts, loaded in this order by the two pages, each a closure
// of its own:
//   navtexts.js     texts in the page's language, positions and names
//   navtiles.js     the Leaflet map, projection and tiled drawing
//   navbasemap.js   land and borders, online tiles, scale
//   navroutes.js    ATS routes
//   navmarkers.js   marker lists, managers, marker functions, chart symbols
//   navplan.js      runways, flight plan, procedures
//   navaircraft.js  start position and the live aircraft
//   navview.js      the map object (centre, zoom) and the view reports
//   navmenus.js     info windows, hover, context menus, cursor, legend
//   navigator.js    this one: starts the page
// They share one namespace, window.NavPage: what one script gives the others
// (the map, the projection, a few functions), each set at the end of the
// script that owns it, and NavPage.debug, the read-only hooks of the tests.
// A script reads at load time only what the scripts before it set; what a
// later script sets is reached through NavPage when it is called. The
// program reaches only the globals of the program's texts (the marker,
// route, plan and aircraft functions, the managers, the lists, map,
// theLast, __navDebug).
(function () {
    'use strict';

    // Read-only look into the page, for the program's tests: the hooks of
    // every script.
    window.__navDebug = Object.freeze(NavPage.debug);

    // The program learns the view once the page is up.
    NavPage.sendView();
})();
