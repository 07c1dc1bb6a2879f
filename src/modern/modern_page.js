(function () {
	// The month tables hold their days from the date of data-start on: in any calendar the
	// reader's today is the day so many days after it, counted on local dates.
	function days(year, month, day) {
		return Date.UTC(year, month, day) / 864e5;
	}
	function mark() {
		var now = new Date(), marked = document.querySelector("[aria-current]"), today = null;
		var tables = document.querySelectorAll("table[data-start]");
		var from = days(now.getFullYear(), now.getMonth(), now.getDate());
		for (var t = 0; t < tables.length && !today; t++) {
			var start = tables[t].getAttribute("data-start").split("-");
			var index = from - days(+start[0], start[1] - 1, +start[2]);
			var cells = tables[t].tBodies[0].getElementsByTagName("td");
			// The days are the cells with text, in order: their digits may be any script's.
			for (var i = 0, day = -1; index >= 0 && i < cells.length; i++)
				if (cells[i].firstChild && ++day == index)
					today = cells[i];
		}
		if (marked !== today) {
			if (marked)
				marked.removeAttribute("aria-current");
			if (today)
				today.setAttribute("aria-current", "date");
		}
		now.setHours(24, 0, 1, 0);
		setTimeout(mark, now - new Date());
	}
	mark();
})();
