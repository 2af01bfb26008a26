<p>x</p>
<!DOCTYPE html PUBLIC "-//W3C//DTD>