<blink>old</blink> and <marquee>older</marquee>
