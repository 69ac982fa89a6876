"use strict";
// The station's page: the state arrives once a second over the WebSocket /api/live; the Moon's path and
// the common windows are fetched when the day changes. Nothing is loaded from anywhere but the station.
(function () {
  const RECONNECT_MS = 3000;
  const SKY_RADIUS = 100;        // the horizon's radius in the sky plot's units
  const CHART = { left: 30, right: 470, top: 10, bottom: 100, minEl: -90, maxEl: 90 };
  const NAMES = { sun: "the Sun", moon: "the Moon", park: "the park position", source: "the radio source" };
  let day = null;
  let moonPath = [];

  const $ = (id) => document.getElementById(id);
  const fixed = (value, digits) => (typeof value === "number" ? value.toFixed(digits) : "–");
  const set = (id, text) => { $(id).textContent = text; };

  // Azimuth/elevation (degrees) to the plot: the zenith in the centre, the horizon on the circle.
  function skyPoint(az, el) {
    const r = (SKY_RADIUS * (90 - Math.max(el, 0))) / 90;
    const a = (az * Math.PI) / 180;
    return [r * Math.sin(a), -r * Math.cos(a)];
  }

  function place(id, az, el) {
    const mark = $(id);
    const visible = typeof az === "number" && el >= 0;
    mark.classList.toggle("hidden", !visible);
    if (!visible) return;
    const [x, y] = skyPoint(az, el);
    if (mark.tagName === "circle") {
      mark.setAttribute("cx", x.toFixed(1));
      mark.setAttribute("cy", y.toFixed(1));
    } else {
      mark.setAttribute("transform", `translate(${x.toFixed(1)} ${y.toFixed(1)})`);
    }
  }

  function drawMoonPath() {
    const points = moonPath.filter(([, el]) => el >= 0).map(([az, el]) => skyPoint(az, el).map((v) => v.toFixed(1)).join(","));
    $("moon-path").setAttribute("points", points.join(" "));
  }

  function showBody(prefix, body) {
    set(`${prefix}-az`, fixed(body.azimuth, 2) + "°");
    set(`${prefix}-el`, fixed(body.elevation, 2) + "°");
    set(`${prefix}-ra`, fixed(body.rightAscension / 15, 4) + " h");
    set(`${prefix}-dec`, fixed(body.declination, 2) + "°");
    set(`${prefix}-dist`, fixed(body.distance, 0) + " km");
  }

  function showRiseSet(riseSet) {
    const rows = [0, 1].map((i) => [riseSet.sun.rows[i], riseSet.moon.rows[i]]);
    rows.push([riseSet.sun.transit, riseSet.moon.transit]);
    const body = $("riseset");
    body.replaceChildren();
    for (const [sun, moon] of rows) {
      const tr = document.createElement("tr");
      for (const text of [sun[0], sun[1], moon[1]]) {
        const td = document.createElement("td");
        td.textContent = text;
        tr.append(td);
      }
      body.append(tr);
    }
  }

  function showEme(eme) {
    set("range-rate", fixed(eme.rangeRate, 4));
    set("path-loss", fixed(eme.pathLossVsPerigee, 2));
    set("echo-delay", fixed(eme.echoDelay, 3));
    const body = $("doppler");
    body.replaceChildren();
    eme.bands.forEach((band, i) => {
      const tr = document.createElement("tr");
      for (const text of [fixed(band, 0), fixed(eme.dopplerShift[i], 0)]) {
        const td = document.createElement("td");
        td.textContent = text;
        tr.append(td);
      }
      body.append(tr);
    });
  }

  function showTracking(tracking, antenna) {
    const mode = tracking.mode;
    NAMES.source = tracking.source;
    set("tracking", mode === "off" ? "Tracking off" : (tracking.active ? "Tracking " : "Not tracking ") + NAMES[mode]);
    set("output", `(output: ${tracking.output})`);
    for (const button of document.querySelectorAll("button[data-target]"))
      button.classList.toggle("active", tracking.active && button.dataset.target === mode);
    const target = tracking.target;
    set("target", target ? `${fixed(target.azimuth, 1)}° / ${fixed(target.elevation, 1)}°` : "–");
    set("commanded", antenna.rotatorCommanded.replace("Commanded: ", "") || antenna.commanded.filter((t) => t).join("  ") || "–");
    const reported = antenna.reported;
    set("reported", reported ? `${fixed(reported.azimuth, 1)}° / ${fixed(reported.elevation, 1)}° ${antenna.error}` : antenna.error || "–");
    set("rotator-link", antenna.link.lost ? `lost: ${antenna.link.reason}` : antenna.reason || "ok");
    place("antenna-mark", reported ? reported.azimuth : target && target.azimuth, reported ? reported.elevation : target && target.elevation);
  }

  function show(state) {
    set("date", state.date);
    set("time", state.time);
    set("zone", state.showUtc ? "UTC" : "local");
    showBody("sun", state.sun);
    showBody("moon", state.moon);
    showRiseSet(state.riseSet);
    showEme(state.eme);
    showTracking(state.tracking, state.antenna);
    set("radio", state.radio.status.replace(/^Radio: /, ""));
    document.getElementById("radio").classList.toggle("warning", state.radio.lost);
    place("sun-mark", state.sun.azimuth, state.sun.elevation);
    place("moon-mark", state.moon.azimuth, state.moon.elevation);
    if (state.utc.slice(0, 10) !== day) {
      day = state.utc.slice(0, 10);
      if (state.moonPath) {
        moonPath = state.moonPath;
        drawMoonPath();
      } else {
        loadDay();
      }
    }
  }

  function chartPoint(hour, el) {
    const x = CHART.left + ((CHART.right - CHART.left) * hour) / 24;
    const y = CHART.bottom - ((CHART.bottom - CHART.top) * Math.max(el, 0)) / CHART.maxEl;
    return `${x.toFixed(1)},${y.toFixed(1)}`;
  }

  // "2005-09-21T22:40:12" as "09-21 22:40": the year and seconds add nothing to a window's span.
  const shortTime = (iso) => iso.slice(5, 16).replace("T", " ");

  function showWindows(report) {
    set("dx", report.dx ? `with ${report.dx.call || report.dx.locator} (${report.dx.locator})` : "(no DX chosen in the planner)");
    const body = $("windows");
    body.replaceChildren();
    for (const w of report.windows) {
      const tr = document.createElement("tr");
      for (const text of [shortTime(w.start), shortTime(w.end), fixed(w.minutes, 0), fixed(w.homeMaxElevation, 1), fixed(w.dxMaxElevation, 1)]) {
        const td = document.createElement("td");
        td.textContent = text;
        tr.append(td);
      }
      body.append(tr);
    }
    const d = report.day;
    $("home-curve").setAttribute("points", d ? d.hours.map((h, i) => chartPoint(h, d.homeElevation[i])).join(" ") : "");
    $("dx-curve").setAttribute("points", d ? d.hours.map((h, i) => chartPoint(h, d.dxElevation[i])).join(" ") : "");
    const ticks = $("day-ticks");
    ticks.replaceChildren();
    for (let hour = 0; hour <= 24; hour += 6) {
      const text = document.createElementNS("http://www.w3.org/2000/svg", "text");
      text.setAttribute("x", (CHART.left + ((CHART.right - CHART.left) * hour) / 24).toFixed(1));
      text.setAttribute("y", "118");
      text.textContent = `${hour}h`;
      ticks.append(text);
    }
  }

  async function loadDay() {
    const [state, windows] = await Promise.all([fetch("/api/state"), fetch("/api/windows?days=2")]);
    if (state.ok) {
      moonPath = (await state.json()).moonPath;
      drawMoonPath();
    }
    if (windows.ok) showWindows(await windows.json());
  }

  async function track(target) {
    if (target !== "off" && !confirm(`Move the antenna to ${NAMES[target]}?`)) return;
    const response = await fetch("/api/track", {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: JSON.stringify({ target }),
    });
    if (!response.ok) alert(`The station refused: ${await response.text()}`);
  }

  function connect() {
    const socket = new WebSocket(`${location.protocol === "https:" ? "wss" : "ws"}://${location.host}/api/live`);
    socket.onopen = () => {
      $("link").className = "link on";
      set("link", "live");
    };
    socket.onmessage = (event) => show(JSON.parse(event.data));
    socket.onclose = () => {
      $("link").className = "link off";
      set("link", "reconnecting…");
      setTimeout(connect, RECONNECT_MS);
    };
  }

  for (const button of document.querySelectorAll("button[data-target]"))
    button.addEventListener("click", () => track(button.dataset.target));
  loadDay();
  connect();
})();
