(function () {
	function mark() {
		var now = new Date(), marked = document.querySelector("[aria-current]"), today = null;
		var table = document.getElementById(now.getFullYear() + "-" + String(now.getMonth() + 101).slice(1));
		var cells = table ? table.tBodies[0].getElementsByTagName("td") : [];
		// The days are the cells with text, in order: their digits may be any script's.
		for (var i = 0, day = 0; i < cells.length; i++)
			if (cells[i].firstChild && ++day == now.getDate())
				today = cells[i];
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
