<img src="a.gif" alt="two words">
