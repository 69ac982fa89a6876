"use strict";
// The token arrives in the address's fragment (never sent to a server) or is typed; a right one becomes
// the page's cookie, and the fragment is wiped from the address bar and the history.
(function () {
  const form = document.getElementById("login");
  const message = document.getElementById("login-message");

  async function logIn(token) {
    const response = await fetch("/login", { method: "POST", body: token, credentials: "same-origin" });
    if (response.ok) {
      location.replace("/");
      return;
    }
    message.textContent = response.status === 429 ? "Too many wrong tokens: wait a minute." : "Wrong token.";
  }

  form.addEventListener("submit", (event) => {
    event.preventDefault();
    logIn(document.getElementById("token").value.trim());
  });
  const fromAddress = location.hash.slice(1);
  if (fromAddress) {
    history.replaceState(null, "", "/login");
    logIn(fromAddress);
  }
})();
