<table><tr><td><input value="first
second
third"></td></tr></table>
